// Grows a catalogue file by generated cards, for the start-up script and the memory benchmark:
// grow_catalogue <dravennacard.db> <cards>
#include "tests/helpers/generatedcatalogue.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: grow_catalogue <dravennacard.db> <cards>\n");
        return 2;
    }
    testing::growCatalogue(QString::fromLocal8Bit(argv[1]), std::atoi(argv[2]));
    return 0;
}
