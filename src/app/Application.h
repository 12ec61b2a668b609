#pragma once

// The application object. An exception that escapes an event handler (a refused edit of the
// memory tables, say) is shown to the user in a message box and the program goes on: the
// operation that raised it has left the data as it was.

#include <QApplication>

#include <exception>
#include <functional>

class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Runs the delivery of one event; an exception it raises is shown in a message box and the event
// counts as not handled.
bool deliverShowingExceptions(const std::function<bool()> &deliver);

// The box the application shows an exception's message in; returns once it is answered.
void showException(const std::exception &error);
