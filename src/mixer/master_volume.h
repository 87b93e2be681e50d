#pragma once

#include "mixer/mixer_volume.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace velmora {

// The master (speakers) line as the player shows and sets it: the one CMixerVolume of the
// main window, made by the factory on first use, and the poll that copies the line's state
// out every two seconds (tmrVolume). No widgets: the main window binds its knob and mute
// images to it, and any other view of the master volume can do the same.
class MasterVolume : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 2000;

    // A factory that gives no mixer stands for a machine without one (NullMixerVolume).
    explicit MasterVolume(MixerFactory createMixer, QObject* parent = nullptr);
    ~MasterVolume() override;

    // The poll runs only while `gate` allows (the main window shown and not minimised);
    // without a gate it always runs.
    void setGate(std::function<bool()> gate);

    // tmrVolume_Timer: reads the master volume and mute and reports them through polled(),
    // and through changed() when they differ from the previous poll's. Nothing, not even
    // the mixer's creation, happens while the gate is shut.
    void poll();

    // Reads the line now, whatever the gate, for a caller that asks for it (the desktop
    // bus). A difference is reported through changed() only: no view is touched.
    void read();

    // Writes of the master line. The next poll shows what the mixer made of them.
    void setVolume(int volume);
    void setMute(bool muted);

    // What the last poll read: -1 and true before the first one.
    int volume() const { return volume_; }
    bool muted() const { return muted_; }

    QTimer* tmrVolume() const { return tmrVolume_; }

signals:
    // Every poll that ran: the volume 0..65535 (-1: no usable mixer) and the mute.
    void polled(int volume, bool muted);
    // A poll found the line changed, by this program or another; the first poll always does.
    void changed(int volume, bool muted);

private:
    CMixerVolume& mixer();  // created on first use
    bool readLine();        // true when the line differs from the last reading

    MixerFactory createMixer_;
    std::unique_ptr<CMixerVolume> mixer_;
    std::function<bool()> gate_;
    QTimer* tmrVolume_ = nullptr;
    int volume_ = -1;
    bool muted_ = true;
    bool polledOnce_ = false;
};

}  // namespace velmora
