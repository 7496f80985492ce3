#include "admin/admin_main.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "admin/console_view.h"
#include "admin/failure.h"
#include "admin/layout_transfer.h"
#include "admin/passwords.h"
#include "admin/report_commands.h"
#include "admin/store_check.h"
#include "admin/store_location.h"
#include "admin/store_rekey.h"
#include "admin/store_reset.h"
#include "admin/store_transfer.h"
#include "wevo/program.h"

#ifndef WEVO_VERSION
#define WEVO_VERSION "unknown"
#endif

namespace wevo::admin {
namespace {

constexpr const char* kExitCodes =
    "Exit codes: 0 done; 1 to 38 the store's message of that number ended the command (30: the store cannot be "
    "opened, as with a wrong password or a server out of reach); 60 check found problems; 64 bad command line, or "
    "rekey of a server store (its password is the role's, kept by the server); 65 a layouts file the store cannot "
    "take; 66 no such store, file or rows; 73 it would overwrite what exists; 74 the store failed; 75 the store "
    "stayed busy.";

constexpr const char* kPasswords =
    "The store's password comes from --password-file FILE (its first line), else the environment variable "
    "WEVO_PASSWORD (set and empty: none), else a prompt that does not echo when standard input is a terminal; "
    "never from the command line.";

// What the command line asked for.
struct Request {
  std::string store, procedure, marker, label, file, output, to;
  std::string passwordFile, toPasswordFile, newPasswordFile, program;
  bool json = false, replace = false, merge = false, dryRun = false, fix = false;
  CLI::Option* markerGiven = nullptr;
  CLI::Option* procedureGiven = nullptr;
  CLI::Option* labelGiven = nullptr;
};

std::optional<std::string> given(CLI::Option* option, const std::string& value) {
  if (option == nullptr || option->count() == 0) return std::nullopt;
  return value;
}

void storeArgument(CLI::App* sub, Request& r, const char* name = "STORE") {
  sub->add_option(name, r.store, "the store: a store file's path, or a server's URI (postgresql://...)")->required();
  sub->add_option("--password-file", r.passwordFile, "a file whose first line is the store's password");
  sub->add_option("--program", r.program, "for a server store: the program whose store it is");
}

// Runs `command` as the program the store layer expects (its messages
// shown through the console view), and turns its end into an exit code.
int runCommand(const std::function<int()>& command, bool rebuildKeys, const char* programPath) {
  MessageLog log;
  int code = kExitOk;
  std::string line;
  bool saidByStore = false;  // the failure's reason is a store message already shown
  RunOptions options;
  options.view = consoleView(&log, MessagePolicy{rebuildKeys});
  options.args = {programPath};
  const ProgramResult result = wevo::run(
      [&] {
        try {
          code = command();
        } catch (const Failure& f) {
          code = f.code();
          line = f.what();
          saidByStore = line.empty();
        }
      },
      options);
  std::cout.flush();
  if (result.failed) {
    std::fprintf(stderr, "wevoadmin: %s\n", result.failure.c_str());
    return kExitInternal;
  }
  if (result.halted) {
    // A store message that ends a program ended the command; it is on stderr.
    if (log.count() == 0) std::fprintf(stderr, "wevoadmin: %s\n", result.haltText.c_str());
    return log.count() > 0 ? log.firstNumber() : kExitStoreError;
  }
  if (saidByStore) {
    if (log.count() > 0) return log.firstNumber();
    std::fprintf(stderr, "wevoadmin: the store refused the work; nothing was changed\n");
    return code;
  }
  if (!line.empty()) std::fprintf(stderr, "wevoadmin: %s\n", line.c_str());
  return code;
}

}  // namespace

int adminMain(int argc, char** argv) {
  CLI::App app(
      "wevoadmin: lists, shows, compares, exports, imports, checks, copies, rekeys and resets the stores "
      "in which wevo keeps what users changed in a program's windows.",
      "wevoadmin");
  app.footer(std::string(kPasswords) + "\n" + kExitCodes);
  app.set_version_flag("--version", "wevoadmin " WEVO_VERSION);
  app.require_subcommand(1);
  Request r;
  std::function<int()> command;
  std::function<void()> passwords;
  kf::Secret password, toPassword, newPassword;
  const char* self = argc > 0 ? argv[0] : "wevoadmin";

  auto storePassword = [&] {
    password = readPassword({r.passwordFile, "WEVO_PASSWORD", "Password of " + r.store + " (Enter: none): "});
  };
  auto location = [&] { return locateStore(r.store, r.program); };
  auto opened = [&](auto&& body) {
    return [&, body] {
      const StoreLocation l = location();
      AdminStore store(l, password);
      return body(store);
    };
  };

  CLI::App* list = app.add_subcommand("list", "the store's procedures and markers with their rows");
  storeArgument(list, r);
  list->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) {
      listStore(s, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* show = app.add_subcommand("show", "the rows of a procedure (or of one of its markers) as a table");
  storeArgument(show, r);
  show->add_option("PROCEDURE", r.procedure, "the procedure whose window the rows describe")->required();
  r.markerGiven = show->add_option("MARKER", r.marker, "only this marker's rows");
  show->add_flag("--json", r.json, "the rows as a layouts file instead");
  show->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) {
      showRows(s, r.procedure, given(r.markerGiven, r.marker), r.json, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* diff = app.add_subcommand("diff", "what a marker changes against the designed original, field by field");
  storeArgument(diff, r);
  diff->add_option("PROCEDURE", r.procedure, "the procedure")->required();
  diff->add_option("MARKER", r.marker, "the marker")->required();
  diff->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) {
      diffMarker(s, r.procedure, r.marker, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* exp = app.add_subcommand("export", "rows as a layouts file (JSON), on stdout or into a file");
  storeArgument(exp, r);
  CLI::Option* expProcedure = exp->add_option("PROCEDURE", r.procedure, "only this procedure's rows");
  CLI::Option* expMarker = exp->add_option("MARKER", r.marker, "only this marker's rows");
  exp->add_option("-o,--output", r.output, "write into this file (made whole, then renamed into place)");
  exp->callback([&] {
    passwords = storePassword;
    command = opened([&, expProcedure, expMarker](AdminStore& s) {
      ExportRequest e;
      e.procedure = given(expProcedure, r.procedure);
      e.marker = given(expMarker, r.marker);
      e.output = r.output;
      exportLayouts(s, e, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* imp = app.add_subcommand("import", "rows of a layouts file into the store, all or nothing");
  storeArgument(imp, r);
  imp->add_option("FILE", r.file, "the layouts file (-: standard input)")->required();
  CLI::Option* replace = imp->add_flag("--replace", r.replace, "each marker of the file replaces that marker's rows");
  CLI::Option* merge = imp->add_flag("--merge", r.merge, "rows the store has are overwritten, the others added");
  replace->excludes(merge);
  imp->add_flag("--dry-run", r.dryRun, "say what would change, change nothing");
  imp->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) {
      ImportRequest i;
      i.file = r.file;
      i.mode = r.replace ? ImportMode::kReplace : r.merge ? ImportMode::kMerge : ImportMode::kAdd;
      i.dryRun = r.dryRun;
      importLayouts(s, i, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* check = app.add_subcommand("check", "integrity, keys and stale rows; --fix repairs after a backup");
  storeArgument(check, r);
  check->add_flag("--fix", r.fix, "rebuild invalid keys and remove the stale rows reported, after a copy is kept");
  check->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) { return checkStore(s, r.fix, std::cout); });
  });

  CLI::App* copy = app.add_subcommand("copy", "a whole store to a new place (a file or a server), count checked");
  copy->add_option("FROM", r.store, "the store copied")->required();
  copy->add_option("TO", r.to, "where the copy goes; no store may be there")->required();
  copy->add_option("--password-file", r.passwordFile, "a file whose first line is FROM's password");
  copy->add_option("--to-password-file", r.toPasswordFile,
                   "a file whose first line is TO's password (default: FROM's)");
  copy->add_option("--program", r.program,
                   "for a server store: the program whose store it is (default: the store file's name)");
  copy->callback([&] {
    passwords = [&] {
      storePassword();
      toPassword = readPassword(
          {r.toPasswordFile, "WEVO_TO_PASSWORD", "Password of " + r.to + " (Enter: the same as " + r.store + "'s): "});
      if (toPassword.empty()) toPassword = password;
    };
    command = [&] {
      const bool fromFile = !isServerUri(r.store);
      const std::string program = !r.program.empty() ? r.program : programOfStoreFile(fromFile ? r.store : r.to);
      CopyEnd from{locateStore(r.store, program), password};
      CopyEnd to{locateStore(r.to, program), toPassword};
      copyWholeStore(from, to, std::cout);
      return int{kExitOk};
    };
  });

  CLI::App* rekey = app.add_subcommand(
      "rekey", "change a store file's password, or protect an unprotected one (store files only: exit 64 for a server)");
  storeArgument(rekey, r);
  rekey->add_option("--new-password-file", r.newPasswordFile, "a file whose first line is the new password");
  rekey->footer(
      "The new password comes from --new-password-file, else WEVO_NEW_PASSWORD, else a prompt "
      "(asked twice) on a terminal.");
  rekey->callback([&] {
    passwords = [&] {
      refuseServerRekey(r.store);  // before any password is asked for
      storePassword();
      newPassword = readPassword({r.newPasswordFile, "WEVO_NEW_PASSWORD", "New password of " + r.store + ": ", true});
    };
    command = opened([&](AdminStore& s) {
      rekeyStore(s, newPassword, std::cout);
      return int{kExitOk};
    });
  });

  CLI::App* reset = app.add_subcommand("reset", "a marker (or one control of it) back to the designed original");
  storeArgument(reset, r);
  reset->add_option("PROCEDURE", r.procedure, "the procedure")->required();
  reset->add_option("MARKER", r.marker, "the marker whose rows are reset")->required();
  r.labelGiven = reset->add_option("LABEL", r.label, "only this control (its label, as ?OkButton)");
  reset->callback([&] {
    passwords = storePassword;
    command = opened([&](AdminStore& s) {
      resetLayout(s, r.procedure, r.marker, given(r.labelGiven, r.label), std::cout);
      return int{kExitOk};
    });
  });

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    std::fprintf(stderr,
                 "wevoadmin: %s (wevoadmin --help lists the commands, wevoadmin COMMAND --help their "
                 "arguments)\n",
                 e.what());
    return kExitUsage;
  }
  try {
    passwords();
  } catch (const Failure& f) {
    std::fprintf(stderr, "wevoadmin: %s\n", f.what());
    return f.code();
  }
  return runCommand(command, r.fix, self);
}

}  // namespace wevo::admin
