#include <cstdio>

int main() {
    std::fputs("orbista-sim: not built yet\n", stderr);
    return 2;
}
