// Where wevoadmin takes a store's password from. Never from an argument of
// its own, which anyone can read in the process list: from a file the
// command line names, from an environment variable, or typed at a prompt
// that does not echo, when standard input is a terminal.
#ifndef WEVO_ADMIN_PASSWORDS_H_
#define WEVO_ADMIN_PASSWORDS_H_

#include <string>

#include "platform/keyedfile/secret.h"

namespace wevo::admin {

struct PasswordSource {
  std::string file;      // read its first line when not empty
  const char* variable;  // then this environment variable, when set (set and empty: no password)
  std::string prompt;    // then this prompt on a terminal (Enter alone: no password)
  bool confirm = false;  // the prompt asks twice, and both must agree
};

// The password as a program would pass it in WEVOSETTINGS.PASSWORD: up to a
// NUL, without trailing blanks, at most 128 characters. Empty: none (no
// source gave one, or it was blank). Fails (kExitNotFound) when the file
// cannot be read, (kExitUsage) when two typed passwords differ or one is
// longer than 128 characters.
kf::Secret readPassword(const PasswordSource& source);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_PASSWORDS_H_
