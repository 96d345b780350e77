#pragma once
// Exception types of the program. Errors inside the program travel as exceptions and reach the
// user only through message boxes captioned by the application.
#include <stdexcept>
#include <string>

// A file that could not be opened, read, created or written.
class EFileError : public std::runtime_error {
public:
    explicit EFileError(const std::string& message) : std::runtime_error(message) {}
};

// An index outside the bounds of a list.
class ERangeError : public std::out_of_range {
public:
    explicit ERangeError(const std::string& message) : std::out_of_range(message) {}
};
