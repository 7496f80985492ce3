#include "admin/passwords.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "admin/failure.h"
#include "store/store_file_vars.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

kf::Secret asHostPassword(std::string& raw, const std::string& from) {
  const std::string_view kept = text::hostText(raw);
  if (kept.size() > store::kOwnerWidth) {
    kf::wipe(raw);
    throw Failure(kExitUsage,
                  from + ": a store's password has at most " + std::to_string(store::kOwnerWidth) + " characters");
  }
  kf::Secret secret(kept);
  kf::wipe(raw);
  return secret;
}

kf::Secret fromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(kExitNotFound, "cannot read the password file " + path + ": " + std::strerror(errno));
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return asHostPassword(line, "the password file " + path);
}

// One line typed at the terminal on standard input, not echoed.
std::string typed(const std::string& prompt) {
  std::fprintf(stderr, "%s", prompt.c_str());
  std::fflush(stderr);
  termios before{};
  const bool quiet = tcgetattr(STDIN_FILENO, &before) == 0;
  if (quiet) {
    termios silent = before;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    silent.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  }
  std::string line;
  int c;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
  if (quiet) tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
  if (c == EOF) std::fprintf(stderr, "\n");
  return line;
}

}  // namespace

kf::Secret readPassword(const PasswordSource& source) {
  if (!source.file.empty()) return fromFile(source.file);
  if (const char* value = std::getenv(source.variable)) {
    std::string raw = value;
    return asHostPassword(raw, source.variable);
  }
  if (source.prompt.empty() || !isatty(STDIN_FILENO)) return kf::Secret();
  std::string first = typed(source.prompt);
  kf::Secret password = asHostPassword(first, "the password typed");
  if (source.confirm) {
    std::string again = typed("Again: ");
    kf::Secret second = asHostPassword(again, "the password typed");
    if (!(second == password)) throw Failure(kExitUsage, "the two passwords typed differ");
  }
  return password;
}

}  // namespace wevo::admin
