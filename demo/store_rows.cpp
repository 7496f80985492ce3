#include "demo/store_rows.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

extern char** environ;

namespace wevo::demo {

namespace {

constexpr char kFieldEnd = '\x1f';
constexpr char kRowEnd = '\x1e';
constexpr size_t kShownWidth = 60;

// The columns shown for a row that was added or removed, beside its key.
constexpr const char* kSummaryColumns[] = {"X", "Y", "WIDTH", "HEIGHT", "CONTROLTEXT"};

// Columns the keyed-file layer keeps for itself (a row's write count), not
// fields of the record.
bool isBookkeeping(std::string_view column) { return column.rfind("kf_", 0) == 0; }

std::string sqlText(std::string_view s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

struct ShellRun {
  bool ok = false;
  std::string output;  // standard output and error together
  std::string error;
};

// Runs the sqlcipher shell on `store` with `commands` as its input. The
// commands go through a pipe, so the password never reaches a file or the
// command line.
ShellRun runShell(const std::string& store, const std::string& commands) {
  ShellRun r;
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) {
    r.error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return r;
  }
  if (::pipe2(out, O_CLOEXEC) != 0) {
    r.error = std::string("cannot make a pipe: ") + std::strerror(errno);
    ::close(in[0]);
    ::close(in[1]);
    return r;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  std::string program = "sqlcipher", batch = "-batch", file = store;
  char* argv[] = {program.data(), batch.data(), file.data(), nullptr};
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, "sqlcipher", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  if (spawned != 0) {
    r.error = spawned == ENOENT ? "the sqlcipher shell is not installed (scripts/setup installs it)"
                                : std::string("cannot start the sqlcipher shell: ") + std::strerror(spawned);
    ::close(in[1]);
    ::close(out[0]);
    return r;
  }
  // The commands are a few kilobytes, well within what a pipe holds, so
  // writing them all before reading cannot block on the shell's output.
  size_t done = 0;
  while (done < commands.size()) {
    ssize_t n = ::write(in[1], commands.data() + done, commands.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(in[1]);
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    r.output.append(buf, static_cast<size_t>(n));
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!exited || r.output.find("Error:") != std::string::npos) {
    r.error = "the sqlcipher shell failed on " + store + ": " + r.output;
    return r;
  }
  r.ok = true;
  return r;
}

std::string preamble(std::string_view password) {
  std::string s;
  if (!password.empty()) s += "PRAGMA key=" + sqlText(password) + ";\nPRAGMA cipher_page_size=4096;\n";
  // A writer may hold the file for a moment: wait for it as the library does.
  s += ".timeout 10000\n.mode list\n.headers off\n.separator \"\\037\" \"\\036\"\n";
  return s;
}

std::vector<std::vector<std::string>> records(const std::string& output) {
  std::vector<std::vector<std::string>> out;
  size_t start = 0;
  for (size_t end; (end = output.find(kRowEnd, start)) != std::string::npos; start = end + 1) {
    std::vector<std::string> fields;
    std::string_view rec(output.data() + start, end - start);
    size_t f = 0;
    for (size_t g; (g = rec.find(kFieldEnd, f)) != std::string_view::npos; f = g + 1)
      fields.emplace_back(rec.substr(f, g - f));
    fields.emplace_back(rec.substr(f));
    out.push_back(std::move(fields));
  }
  return out;
}

std::string shown(std::string_view value) {
  if (value.size() <= kShownWidth) return std::string(value);
  return std::string(value.substr(0, kShownWidth)) + "...";
}

std::string who(int64_t uid, const StoreRow& row) {
  return std::to_string(uid) + " " + row.text("PROCEDURENAME") + " / " + row.text("UNIQUEMARKER") + " / " +
         row.text("CONTROLLABEL");
}

std::string summary(int64_t uid, const StoreRow& row) {
  std::string s = who(uid, row) + ":";
  bool first = true;
  for (const char* column : kSummaryColumns) {
    s += (first ? " " : ", ") + std::string(column) + " " + shown(row.value(column));
    first = false;
  }
  return s;
}

}  // namespace

std::string StoreRow::value(std::string_view column) const {
  for (const auto& [name, v] : fields)
    if (name == column) return v;
  return {};
}

std::string StoreRow::text(std::string_view column) const { return unquote(value(column)); }

std::string unquote(std::string_view value) {
  if (value.size() < 2 || value.front() != '\'' || value.back() != '\'') return std::string(value);
  std::string out;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    out += value[i];
    if (value[i] == '\'' && i + 2 < value.size() && value[i + 1] == '\'') ++i;
  }
  return out;
}

StoreReading readStoreRows(const std::string& path, std::string_view password) {
  StoreReading r;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    r.ok = !ec;
    if (ec) r.error = path + ": " + ec.message();
    return r;
  }
  ShellRun layout = runShell(path, preamble(password) + "PRAGMA table_info(WindowControls);\n");
  if (!layout.ok) {
    r.error = layout.error;
    return r;
  }
  std::vector<std::string> columns;
  for (const std::vector<std::string>& rec : records(layout.output))
    if (rec.size() >= 2) columns.push_back(rec[1]);  // cid, name, type, notnull, default, pk
  if (columns.empty()) {
    r.error = path + " has no WindowControls table";
    return r;
  }
  std::string select = "SELECT ";
  for (size_t i = 0; i < columns.size(); ++i) select += (i ? ", quote(\"" : "quote(\"") + columns[i] + "\")";
  select += " FROM WindowControls ORDER BY UID;\n";
  ShellRun rows = runShell(path, preamble(password) + select);
  if (!rows.ok) {
    r.error = rows.error;
    return r;
  }
  for (const std::vector<std::string>& rec : records(rows.output)) {
    if (rec.size() != columns.size()) continue;  // not a row of the answer
    StoreRow row;
    for (size_t i = 0; i < columns.size(); ++i) row.fields.emplace_back(columns[i], rec[i]);
    const std::string uid = row.value("UID");
    char* end = nullptr;
    const long long id = std::strtoll(uid.c_str(), &end, 10);
    if (uid.empty() || end == nullptr || *end != '\0') {
      r.error = "a row without a whole-number UID: " + shown(uid);
      return r;
    }
    r.rows.emplace(id, std::move(row));
  }
  r.ok = true;
  return r;
}

std::vector<std::string> describeChanges(const StoreRows& before, const StoreRows& after) {
  std::set<int64_t> uids;
  for (const auto& [uid, row] : before) uids.insert(uid);
  for (const auto& [uid, row] : after) uids.insert(uid);
  std::vector<std::string> lines;
  for (int64_t uid : uids) {
    auto was = before.find(uid), is = after.find(uid);
    if (was == before.end()) {
      lines.push_back("+ " + summary(uid, is->second));
    } else if (is == after.end()) {
      lines.push_back("- " + who(uid, was->second));
    } else {
      std::string changes;
      bool rewritten = false;
      for (const auto& [column, value] : is->second.fields) {
        const std::string old = was->second.value(column);
        if (old == value) continue;
        if (isBookkeeping(column)) {
          rewritten = true;
          continue;
        }
        changes += (changes.empty() ? " " : ", ") + column + " " + shown(old) + " -> " + shown(value);
      }
      if (!changes.empty())
        lines.push_back("~ " + who(uid, is->second) + ":" + changes);
      else if (rewritten)
        lines.push_back("~ " + who(uid, is->second) + ": written again, every field as it was");
    }
  }
  return lines;
}

}  // namespace wevo::demo
