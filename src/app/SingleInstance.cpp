#include "app/SingleInstance.h"

#include "platform/InstanceLock.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>

QString programFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString instanceName(const QString &folder)
{
    return QString::fromStdString(programInstanceName(folder.toStdString()));
}

void refuseSecondStart(const QString &name)
{
    const QString text = QStringLiteral("Haggyá má! Elég belőlem egy is.\r\n") + name;
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Megerősítés"), text, QMessageBox::Ok);
    box.exec();
}
