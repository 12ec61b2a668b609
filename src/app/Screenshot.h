#pragma once

// A picture of the running program for scripts that check it on a virtual display.

class QString;
class QWidget;

// Once `window` is on screen, saves what the screen shows in its area as an image file at `path`
// and ends the event loop: with status 0, or 1 after telling on standard error that the file
// could not be written.
void saveScreenshotOnceShown(QWidget &window, const QString &path);
