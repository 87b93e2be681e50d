// velmora-artwork OUTDIR: draws the skin files into OUTDIR/Skins at build time.
#include "chrome/artwork.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-artwork OUTDIR\n"
                             "Writes every skin picture as OUTDIR/Skins/<name>.jpg\n");
        return 2;
    }
    QString error;
    if (!velmora::artwork::writeSkinFiles(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "velmora-artwork: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
