#pragma once

#include <QString>

#include <vector>

namespace velmora {

// The titles a disc carries itself: CD-Text on a real disc or a cue sheet, the title lines
// of a simulated disc. Empty texts where the disc has none.
struct DiscText {
    QString title;
    QString performer;
    std::vector<QString> trackTitles;  // [0] is the disc's first track

    bool empty() const {
        if (!title.isEmpty() || !performer.isEmpty()) return false;
        for (const QString& t : trackTitles)
            if (!t.isEmpty()) return false;
        return true;
    }
    friend bool operator==(const DiscText&, const DiscText&) = default;
};

}  // namespace velmora
