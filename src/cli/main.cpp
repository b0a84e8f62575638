// kalvor-cli: drives kalvor's core from the command line.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--help") {
        std::puts("usage: kalvor-cli COMMAND ...");
        return 0;
    }
    std::fputs("usage: kalvor-cli COMMAND ...\n", stderr);
    return 2;
}
