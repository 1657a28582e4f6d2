#include "ui/kvapplication.h"

int main(int argc, char** argv)
{
    return KvRunProgram(argc, argv);
}
