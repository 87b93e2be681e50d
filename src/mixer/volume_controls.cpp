// Placeholder: the volume controls are being written.
#include "mixer/volume_controls.h"
#include "mixer/mixer_volume.h"
#include <QDial>
#include <QLabel>
#include <QTimer>
#include <QWidget>
namespace velmora {
VolumeControls::VolumeControls(QWidget* mainWindow, MixerFactory createMixer)
    : QObject(mainWindow), window_(mainWindow), createMixer_(std::move(createMixer)) {
    sldMain_ = new QDial(mainWindow);
    imgMute_ = new QLabel(mainWindow);
    imgUnmute_ = new QLabel(mainWindow);
    tmrVolume_ = new QTimer(this);
}
VolumeControls::~VolumeControls() = default;
void VolumeControls::tmrVolume_Timer() {}
CMixerVolume& VolumeControls::mixer() { if (!mixer_) mixer_ = createMixer_(); return *mixer_; }
void VolumeControls::sldMain_Change() {}
void VolumeControls::imgMute_Click() {}
void VolumeControls::imgUnmute_Click() {}
}  // namespace velmora
