#include "platform/keyedfile/error.h"

namespace wevo::kf {
namespace {

struct ErrorState {
  int code = kNoError;
  std::string text;
  int driverCode = 0;
  std::string driverText;
};

ErrorState& state() {
  thread_local ErrorState s;
  return s;
}

}  // namespace

int errorCode() { return state().code; }
const std::string& errorText() { return state().text; }
int driverErrorCode() { return state().driverCode; }
const std::string& driverErrorText() { return state().driverText; }

std::string_view errorTextFor(int code) {
  switch (code) {
    case kNoError:
      return "";
    case kErrNotFound:
      return "File not found";
    case kErrAccessDenied:
      return "Access denied";
    case kErrLocked:
      return "File is locked";
    case kErrNoRecord:
      return "Record not available";
    case kErrBadPassword:
      return "File cannot be read with this password";
    case kErrNotOpen:
      return "File not open";
    case kErrDuplicateKey:
      return "Creates duplicate key";
    case kErrKeysDamaged:
      return "Keys must be rebuilt";
    case kErrLayout:
      return "Record layout differs from the file's";
    case kErrAlreadyOpen:
      return "File already open";
    case kErrTransactionActive:
      return "Transaction already active";
    case kErrBadRequest:
      return "Request not supported";
    case kErrChanged:
      return "Record changed by another station";
    case kErrDriver:
      return "File driver error";
    case kErrNoTransaction:
      return "No transaction active";
    case kErrConnection:
      return "Server connection failed";
    default:
      return "Unknown error";
  }
}

void clearError() {
  ErrorState& s = state();
  s.code = kNoError;
  s.text.clear();
  s.driverCode = 0;
  s.driverText.clear();
}

void setError(int code) { setError(code, 0, ""); }

void setError(int code, int driverCode, std::string_view driverText) {
  ErrorState& s = state();
  s.code = code;
  s.text = std::string(errorTextFor(code));
  s.driverCode = driverCode;
  s.driverText = std::string(driverText);
}

bool failWith(int code) {
  setError(code);
  return false;
}

bool succeed() {
  clearError();
  return true;
}

}  // namespace wevo::kf
