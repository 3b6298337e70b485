// Writes the tests' small data folder under the folder given, for end-to-end runs that do not
// need the shipped pictures and maps.
#include <cstdio>

#include "GameTestData.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <folder that gets data/>\n", argv[0]);
        return 2;
    }
    game_test_data::WriteAll(argv[1]);
    return 0;
}
