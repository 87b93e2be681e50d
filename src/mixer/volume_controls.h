#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QDial;
class QLabel;
class QTimer;
class QWidget;

namespace velmora {

class CMixerVolume;
class VolumeKnob;

// The main window's volume knob and mute images, bound to the master line. Creates its
// controls (sldMain, imgMute, imgUnmute, tmrVolume) as children of the main window at
// their places on the skin. The mixer comes from the factory on the first poll that runs
// while the window is visible.
//
// The knob shows a volume of -1 (no usable mixer) as 0 with its LED dark; turning it then
// writes to a mixer that ignores the write, and the next poll puts it back to 0.
class VolumeControls : public QObject {
    Q_OBJECT
public:
    using MixerFactory = std::function<std::unique_ptr<CMixerVolume>()>;

    static constexpr int kPollIntervalMs = 2000;

    VolumeControls(QWidget* mainWindow, MixerFactory createMixer);
    ~VolumeControls() override;

    // The poll: copies the master volume and mute into the controls, only while the main
    // window is visible. Run by tmrVolume, at start-up and after a mute click.
    void tmrVolume_Timer();

    QDial* sldMain() const;
    VolumeKnob* knob() const { return sldMain_; }
    QLabel* imgMute() const { return imgMute_; }
    QLabel* imgUnmute() const { return imgUnmute_; }
    QTimer* tmrVolume() const { return tmrVolume_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMixerVolume& mixer();  // created on first use
    void sldMain_Change();
    void imgMute_Click();
    void imgUnmute_Click();

    QWidget* window_;
    MixerFactory createMixer_;
    std::unique_ptr<CMixerVolume> mixer_;
    VolumeKnob* sldMain_ = nullptr;
    QLabel* imgMute_ = nullptr;
    QLabel* imgUnmute_ = nullptr;
    QTimer* tmrVolume_ = nullptr;
    bool settingFromPoll_ = false;
    QObject* pressedImage_ = nullptr;
};

}  // namespace velmora
