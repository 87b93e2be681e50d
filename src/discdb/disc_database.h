#pragma once

#include <QString>

#include <functional>

namespace velmora {

class MciChannel;
struct PlayerState;

// The local disc database: one section per disc ID in "Velmora.ini".
class DiscDatabase {
public:
    explicit DiscDatabase(QString filePath);

    const QString& filePath() const { return path_; }

    // Loads the section of `discID` into state.CurrentDisc, first storing a default
    // section for a disc not yet in the file, then calls ShowDiscInfo.
    void GetCDINFO(const QString& discID, PlayerState& state, MciChannel& mci,
                   const std::function<void()>& ShowDiscInfo);

private:
    QString path_;
};

// Where the disc database lives for the given program folder: beside the program when
// that folder is writable, else in the user's data folder.
QString discDatabasePath(const QString& programFolder);

}  // namespace velmora
