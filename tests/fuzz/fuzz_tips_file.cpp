// The tips reader: any bytes give tips without line ends, and a tip window that always
// shows one of them.
#include "fuzz_support.h"

#include "dialogs/tips_file.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QStringList tips = splitTips(bytes);
    if (tips.size() > bytes.size() + 1) fuzz::broken("more tips than bytes");
    for (const QString& tip : tips)
        if (tip.contains(u'\r') || tip.contains(u'\n')) fuzz::broken("line end inside a tip", tip);

    const QString path = fuzz::scratchFolder() + QStringLiteral("/TIPOFDAY.DAT");
    fuzz::writeFile(path, bytes);
    // Draws from the ends of [0, 1) and beyond it.
    const double draws[] = {0.0, 0.999999, -1.0, 2.0, size ? data[0] / 256.0 : 0.5};
    size_t next = 0;
    TipOfTheDay tip([&] { return draws[next++ % std::size(draws)]; });
    if (!tip.LoadTips(path)) fuzz::broken("a readable tips file was refused");
    for (int i = 0; i < 5; ++i) {
        if (!tips.isEmpty() && (tip.TipIndex() < 1 || tip.TipIndex() > tips.size())) fuzz::broken("tip index");
        if (!tips.isEmpty() && tip.tipText() != tips[tip.TipIndex() - 1]) fuzz::broken("tip text");
        tip.PickRandomTip();
    }
    return 0;
}
