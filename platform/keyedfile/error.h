// The error state of keyed-file operations, one per thread.
//
// Every operation of kf::File and kf::View leaves this state: number 0 and
// empty texts on success, otherwise one of the numbers below with its short
// text. For a driver error (90) the driver number and text are the driver's
// own: SQLite's result code and message for a file, the server's code (its
// SQLSTATE when that is a number) and message for a server; other errors may
// carry them too, as a hint. For 100 the driver text says what happened to
// the connection, naming the server's host (never a password).
// Nothing is thrown across this layer.
#ifndef WEVO_PLATFORM_KEYEDFILE_ERROR_H_
#define WEVO_PLATFORM_KEYEDFILE_ERROR_H_

#include <string>
#include <string_view>

namespace wevo::kf {

inline constexpr int kNoError = 0;
inline constexpr int kErrNotFound = 2;            // no file of that name
inline constexpr int kErrAccessDenied = 5;        // the system refused access to the file
inline constexpr int kErrLocked = 32;             // refused lock, or the file stayed busy
inline constexpr int kErrNoRecord = 33;           // end of the order, no match, no current record
inline constexpr int kErrBadPassword = 36;        // not readable with this password (or not a store)
inline constexpr int kErrNotOpen = 37;            // the operation needs an open file
inline constexpr int kErrDuplicateKey = 40;       // a unique key would be duplicated
inline constexpr int kErrKeysDamaged = 46;        // keys were not rebuilt after appends
inline constexpr int kErrLayout = 47;             // the file's layout differs from the declaration's
inline constexpr int kErrAlreadyOpen = 52;        // the instance is open already
inline constexpr int kErrTransactionActive = 56;  // begin or stream inside a transaction
inline constexpr int kErrBadRequest = 80;         // bad key number, command or view expression
inline constexpr int kErrChanged = 89;            // changed by another station since it was read
inline constexpr int kErrDriver = 90;             // any other driver failure
inline constexpr int kErrNoTransaction = 91;      // commit or roll back without a transaction
inline constexpr int kErrConnection = 100;        // the server could not be reached, or the connection was lost

// The current thread's error.
int errorCode();
const std::string& errorText();
int driverErrorCode();
const std::string& driverErrorText();

// The short English text of an error number ("" for 0, "Unknown error" for a
// number not listed above).
std::string_view errorTextFor(int code);

// Setters, for this layer's operations.
void clearError();
// Number and its standard text; driver number and text cleared.
void setError(int code);
// Number and standard text with the driver's number and text.
void setError(int code, int driverCode, std::string_view driverText);

// How an operation of this layer ends: with `code` (false), or cleared (true).
bool failWith(int code);
bool succeed();

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_ERROR_H_
