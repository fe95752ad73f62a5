#include <iostream>

int main() {
    std::cerr << "tessaly-cli: no commands yet\n";
    return 2;
}
