#pragma once

// The database data module: the connection to the Access database the administrator copies every
// table into. Opening the connection is optional: without it the program runs as usual.

class TDMK {
public:
    TDMK() = default;
    TDMK(const TDMK &) = delete;
    TDMK &operator=(const TDMK &) = delete;
};

extern TDMK *DMK;
