#pragma once

// Answering the modal windows a routine opens, so that a test never hangs on one.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `routine`, answering every modal window it opens with `answer`; returns how many opened.
// The answer runs from the event loop of the modal window itself. Each window is marked with this
// call's number once it has been answered (it may take a moment to close), rather than
// remembered by address: a new message box often takes the memory of the one answered just
// before it. A dialog that lives for the whole run is answered again by the next call.
inline int answeringModals(const std::function<void()> &routine, const std::function<void(QWidget &)> &answer)
{
    static int calls = 0;
    const int call = ++calls;
    int seen = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answeredByTestCall").toInt() == call)
            return;
        modal->setProperty("answeredByTestCall", call);
        ++seen;
        answer(*modal);
    });
    answerer.start(0);
    routine();
    return seen;
}
