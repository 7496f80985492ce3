// wevoadmin's command line: the commands, their arguments and options, the
// passwords, and the run of the chosen command on the store layer.
#ifndef WEVO_ADMIN_ADMIN_MAIN_H_
#define WEVO_ADMIN_ADMIN_MAIN_H_

namespace wevo::admin {

// Runs wevoadmin with these arguments and returns its exit code (failure.h).
// Reports and data go to stdout, every failure as one line to stderr.
int adminMain(int argc, char** argv);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_ADMIN_MAIN_H_
