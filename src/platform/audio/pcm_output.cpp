#include "platform/audio/pcm_output.h"

#include <alsa/asoundlib.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace velmora {

namespace {

// alsa-lib prints its own complaints to stderr; the caller reports failures in words of
// its own, so keep the terminal quiet.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

std::string alsaText(const char* what, int err) { return std::string(what) + ": " + snd_strerror(err); }

}  // namespace

PcmTarget PcmTarget::fromEnvironment() {
    PcmTarget target;
    if (const char* env = std::getenv("VELMORA_PCM"); env && *env) target.device = env;
    return target;
}

std::string PcmTarget::describe() const {
    return configText.empty() ? "\"" + device + "\"" : "\"" + device + "\" (own configuration)";
}

std::unique_ptr<PcmOutput> PcmOutput::open(const PcmTarget& target, std::string* error) {
    snd_lib_error_set_handler(quietAlsaErrors);
    auto fail = [&](const std::string& text) {
        if (error) *error = "Cannot play through the sound device " + target.describe() + ": " + text;
        return nullptr;
    };

    snd_pcm_t* pcm = nullptr;
    int err = 0;
    if (target.configText.empty()) {
        err = snd_pcm_open(&pcm, target.device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    } else {
        snd_config_t* config = nullptr;
        snd_input_t* input = nullptr;
        if ((err = snd_config_top(&config)) < 0) return fail(alsaText("configuration", err));
        err = snd_input_buffer_open(&input, target.configText.data(), static_cast<ssize_t>(target.configText.size()));
        if (err >= 0) {
            err = snd_config_load(config, input);
            snd_input_close(input);
        }
        if (err >= 0)
            err = snd_pcm_open_lconf(&pcm, target.device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK, config);
        snd_config_delete(config);
    }
    if (err < 0) return fail(snd_strerror(err));

    std::unique_ptr<PcmOutput> out(new PcmOutput(pcm));
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    unsigned rate = kRate;
    unsigned bufferUs = 1000000;
    unsigned periodUs = 250000;
    if ((err = snd_pcm_hw_params_any(pcm, hw)) < 0 ||
        (err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
        (err = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE)) < 0 ||
        (err = snd_pcm_hw_params_set_channels(pcm, hw, kChannels)) < 0 ||
        (err = snd_pcm_hw_params_set_rate_resample(pcm, hw, 1)) < 0 ||
        (err = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0)) < 0 ||
        (err = snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &bufferUs, nullptr)) < 0 ||
        (err = snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodUs, nullptr)) < 0 ||
        (err = snd_pcm_hw_params(pcm, hw)) < 0)
        return fail(alsaText("CD audio format not accepted", err));

    snd_pcm_uframes_t buffer = 0, period = 0;
    snd_pcm_get_params(pcm, &buffer, &period);
    out->periodFrames_ = static_cast<long>(period);

    // Start once a period is queued: a sound server takes a block at once from a new
    // stream, and a sliver would leave it to run dry. Wake the writer only for a whole
    // period.
    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    if (snd_pcm_sw_params_current(pcm, sw) >= 0) {
        snd_pcm_sw_params_set_start_threshold(pcm, sw, period);
        snd_pcm_sw_params_set_avail_min(pcm, sw, period);
        snd_pcm_sw_params(pcm, sw);
    }
    const snd_pcm_type_t type = snd_pcm_type(pcm);
    out->unpacedType_ = type == SND_PCM_TYPE_NULL || type == SND_PCM_TYPE_FILE;
    if (error) error->clear();
    return out;
}

PcmOutput::~PcmOutput() {
    if (pcm_) {
        snd_pcm_drop(pcm_);
        snd_pcm_close(pcm_);
    }
}

bool PcmOutput::recover(int err) {
    // An underrun (-EPIPE) or a suspend: make the stream ready again and carry on.
    if (err == -EPIPE) ++underruns_;
    return snd_pcm_recover(pcm_, err, 1) >= 0;
}

long PcmOutput::write(const std::int16_t* samples, long frames) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, static_cast<snd_pcm_uframes_t>(frames));
        if (n >= 0) return static_cast<long>(n);
        if (n == -EAGAIN) return 0;
        if (!recover(static_cast<int>(n))) return static_cast<long>(n);
    }
    return 0;
}

std::string PcmOutput::errorText(long error) { return snd_strerror(static_cast<int>(error)); }

long PcmOutput::delay() {
    snd_pcm_sframes_t d = 0;
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_PREPARED && state != SND_PCM_STATE_DRAINING) return 0;
    if (snd_pcm_delay(pcm_, &d) < 0 || d < 0) return 0;
    return static_cast<long>(d);
}

void PcmOutput::waitForRoom(int wakeFd, int ms) {
    // Full but not started cannot last: start it rather than wait for nothing.
    if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
    if (snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING) return;
    const int count = snd_pcm_poll_descriptors_count(pcm_);
    if (count <= 0) return;
    std::vector<pollfd> fds(std::size_t(count) + 1);
    fds[0] = {wakeFd, POLLIN, 0};
    if (snd_pcm_poll_descriptors(pcm_, fds.data() + 1, static_cast<unsigned>(count)) < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        for (pollfd& f : fds) f.revents = 0;
        const int n = poll(fds.data(), fds.size(), static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || fds[0].revents) return;
        // A plugin's descriptor may wake for its own reasons; only room (or an error the
        // next write reports) ends the wait.
        unsigned short revents = 0;
        if (snd_pcm_poll_descriptors_revents(pcm_, fds.data() + 1, static_cast<unsigned>(count), &revents) < 0 ||
            (revents & (POLLOUT | POLLERR | POLLNVAL)))
            return;
    }
}

bool PcmOutput::running() const { return snd_pcm_state(pcm_) == SND_PCM_STATE_RUNNING; }

void PcmOutput::start() {
    if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
}

void PcmOutput::discard() {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
}

}  // namespace velmora
