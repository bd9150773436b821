// The exceptions that carry I/O and conversion failures to the boundary of the operation the
// user started, where the application's general error message shows them and the program runs
// on. Standard library only.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kestrova {

class Dialogs;

// A file that could not be created, opened, read, written or renamed.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that should have held a number but does not.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

IoError makeIoError(const std::string& action, const std::filesystem::path& file);

// Decimal integer conversion with the application's wording for a failure
// ("'abc' is not a valid integer value"). Leading and trailing blanks are accepted.
int toInteger(const std::string& text);

// The general error message: the text the application shows for an operation that ended in an
// exception.
std::string generalErrorMessage(const std::exception& error);

// The boundary of a user operation: runs it, and shows any exception through the general error
// message instead of letting it escape. Returns whether the operation ran to its end.
template <typename Operation> bool runReportingErrors(Dialogs& dialogs, Operation&& operation);

} // namespace kestrova

#include "core/Desktop.h"

namespace kestrova {

template <typename Operation> bool runReportingErrors(Dialogs& dialogs, Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& error) {
        dialogs.showError(generalErrorMessage(error));
        return false;
    }
}

} // namespace kestrova
