// jlaunch-pack on Windows: arguments are UTF-16.
#include "common/wide_win32.h"
#include "pack/pack_command.h"

int wmain(int argc, wchar_t** argv) {
    TextList arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(fromWide(argv[i]));
    return runPackCommand(arguments);
}
