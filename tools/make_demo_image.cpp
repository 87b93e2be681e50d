// Writes the demo disc image (demo.cue + demo.bin) into the folder given, for the build
// tree; an installed player writes the same image into the user's cache folder itself.
#include "platform/cdio/demo_image.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    QString error;
    if (!velmora::writeDemoImage(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
