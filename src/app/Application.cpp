#include "app/Application.h"

#include <QMessageBox>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverShowingExceptions([&] { return QApplication::notify(receiver, event); });
}

bool deliverShowingExceptions(const std::function<bool()> &deliver)
{
    try {
        return deliver();
    } catch (const std::exception &error) {
        showException(error);
        return false;
    }
}

void showException(const std::exception &error)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), QString::fromUtf8(error.what()),
                    QMessageBox::Ok);
    box.exec();
}
