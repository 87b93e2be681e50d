// velmora-artwork OUTDIR: draws the skin files into OUTDIR/Skins and the program's icon
// into OUTDIR/icons at build time.
#include "chrome/artwork.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: velmora-artwork OUTDIR\n"
                     "Writes every skin picture as OUTDIR/Skins/<name>.jpg and the icon as\n"
                     "OUTDIR/icons/hicolor/<n>x<n>/apps/velmora.png\n");
        return 2;
    }
    QString error;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!velmora::artwork::writeSkinFiles(folder, &error) || !velmora::artwork::writeIconFiles(folder, &error)) {
        std::fprintf(stderr, "velmora-artwork: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
