#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>

namespace velmora {

class MasterVolume;
struct PlayerCore;

// The player on the desktop's media bus (MPRIS2), so media keys and the desktop's sound
// or media panel show the disc and drive it. Every command goes through the transport the
// buttons use; what it reports follows the session's change signals, so nothing is read
// from the drive more often than the display refresh (or, put away, the session's
// following of the drive) reads it. The volume is the master line the knob sets.
class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.velmora";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    // `raise` shows the main window; `quit` quits as the tray menu does.
    MprisService(QDBusConnection bus, PlayerCore& core, MasterVolume& volume, std::function<void()> raise,
                 std::function<void()> quit, QObject* parent = nullptr);
    ~MprisService() override;

    // False when there is no bus or the name is taken; the player runs on without it.
    bool registered() const { return registered_; }

    // The cover of the disc in the drive as a file URL, empty when it has none; told anew
    // by refreshMetadata() when it changes.
    void setArtUrl(std::function<QString()> artUrl) { artUrl_ = std::move(artUrl); }
    void refreshMetadata() { announceChanges(); }

    // What the properties read, for the adaptors.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong positionUs() const;
    bool canPlay() const;
    bool canPause() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canSeek() const;
    // The master volume, 0.0 to 1.0, read now (0 and left alone without a mixer).
    double volume();
    void setVolume(double volume);
    // Always: a client that reads false takes every other property as read-only and every
    // command as refused, and the transport works without a mixer.
    static constexpr bool canControl() { return true; }
    // The repeat and shuffle modes: "None", "Track" or "Playlist" (the whole disc); another
    // word changes nothing.
    QString loopStatus() const;
    bool shuffle() const;

    void raise();
    void quit();
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seek(qlonglong offsetUs);
    void setPosition(const QString& trackId, qlonglong positionUs);
    void setLoopStatus(const QString& status);
    void setShuffle(bool on);

signals:
    void seeked(qlonglong positionUs);

private:
    void announceChanges();
    QString trackId(int track) const;
    qlonglong trackLengthUs(int track) const;
    void seekTo(qlonglong positionUs);
    double volumeShown() const;

    QDBusConnection bus_;
    PlayerCore& core_;
    MasterVolume& volume_;
    std::function<void()> raise_;
    std::function<void()> quit_;
    std::function<QString()> artUrl_;
    bool registered_ = false;
    QVariantMap announced_;  // the Player properties as last told
};

}  // namespace velmora
