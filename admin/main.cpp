// wevoadmin: the administrator's tool for wevo's stores.
#include "admin/admin_main.h"

int main(int argc, char** argv) { return wevo::admin::adminMain(argc, argv); }
