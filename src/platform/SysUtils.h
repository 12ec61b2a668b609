#pragma once

// The exception families the framework and the engine raise. Messages are UTF-8 text, ready to be
// shown; values taken from data (cp1250) are converted before they are put into a message.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class ERangeError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

class EZeroDivide : public Exception {
public:
    using Exception::Exception;
};

// The silent exception: it ends an operation without an error message.
class EAbort : public Exception {
public:
    using Exception::Exception;
};
