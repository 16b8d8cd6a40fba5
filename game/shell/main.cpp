#include <iostream>

#include "soarerun.h"
#include "tutorialgame.h"

int main(int argc, char** argv)
{
    return RunSoare(argc, argv, std::cout, std::cerr, RunTutorialGame);
}
