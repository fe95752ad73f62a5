#include "app/frame/run_program.h"

int main(int argc, char** argv) {
    return tessaly::RunProgram(argc, argv);
}
