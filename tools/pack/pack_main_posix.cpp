// jlaunch-pack on Linux: arguments are UTF-8.
#include "pack/pack_command.h"

int main(int argc, char** argv) {
    TextList arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(Text::fromUtf8(argv[i]));
    return runPackCommand(arguments);
}
