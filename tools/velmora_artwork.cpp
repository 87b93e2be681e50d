// Placeholder: the artwork tool is being written.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) return 2;
    QDir(QString::fromLocal8Bit(argv[1])).mkpath(QStringLiteral("Skins"));
    QImage skin(459, 162, QImage::Format_RGB32);
    skin.fill(Qt::darkBlue);
    return skin.save(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/Skins/cloud_skin.jpg")) ? 0 : 1;
}
