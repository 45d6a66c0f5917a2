#include "ui/Program.h"

int main(int argc, char **argv)
{
    return vek::RunProgram(argc, argv);
}
