#pragma once

// What the long operations of the data layer (saving, imports, link regeneration, database copy)
// report while they run. The window that shows it lives above this layer, so the data module only
// sees this interface; tests can record the calls instead.

#include <string>

class Progress {
public:
    virtual ~Progress() = default;

    // Begins an operation of `maximum` rows or steps at position 0 and shows it with `caption`.
    // Captions are UTF-8 text, ready to show.
    virtual void start(int maximum, const std::string &caption) = 0;
    // Names the step now running.
    virtual void setCaption(const std::string &caption) = 0;
    // Advances the position by one row or step and shows it at once.
    virtual void step() = 0;
    // Ends the operation and hides the display.
    virtual void finish() = 0;
};
