#pragma once

// Every form and data module of the program: created once at start, in a fixed order, each
// stored in its global variable, and released in the reverse order when the program ends.

#include "data/datam.h"

#include <functional>
#include <string>
#include <vector>

class TVonal;

class TProgramForms {
public:
    // The data module comes first and loads every data file before any window exists; its
    // EDataFileError leaves nothing created. Then the main window, the progress window (bound
    // as the data module's progress), the dialogs, the database data module and its window.
    explicit TProgramForms(TDMEnvironment environment = TDMEnvironment::Program());
    ~TProgramForms();
    TProgramForms(const TProgramForms &) = delete;
    TProgramForms &operator=(const TProgramForms &) = delete;

    // The class names, in the order their objects were created.
    const std::vector<std::string> &CreationOrder() const { return creationOrder_; }

private:
    template <class T, class... Args>
    void create(T *&global, const char *className, Args &&...args);
    void release();

    std::vector<std::string> creationOrder_;
    std::vector<std::function<void()>> releases_;
};

extern TVonal *Vonal;

// Tells the planner in an information box what the data module's start did with a save a crash
// had cut short; shows nothing when there was none. Returns once the box is answered.
void tellRecoveredSave(const TDM &dm);
