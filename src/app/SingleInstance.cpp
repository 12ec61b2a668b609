#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>

QString programFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString instanceName(const QString &folder)
{
    QString name = folder + QStringLiteral("BrelvixKastorel");
    name.remove(QLatin1Char(' '));
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name.replace(QLatin1Char(':'), QLatin1Char('_'));
    return name;
}

void refuseSecondStart(const QString &name)
{
    const QString text = QStringLiteral("Haggyá má! Elég belőlem egy is.\r\n") + name;
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Megerősítés"), text, QMessageBox::Ok);
    box.exec();
}
