// EventPlayer: replays a recorded event stream onto a paper one step at a time. Each packet
// is applied by calling the paper's own operations with recording off, with the player's
// private pen and tone list; the paper's recorder holds the stream and continues it in
// append mode once the replay has ended.
//
// A step applies one operation (or, drawing sample by sample, one sample), so the window
// stays responsive and can show progress between steps. Operations the engine does not
// have yet end the replay with the ordinary error and the packet's offset — never silently.
#pragma once

#include "document/TPaper.h"
#include "events/CMapDD.h"
#include "events/EventFile.h"
#include "events/PacketCodec.h"
#include "tools/StrokeTrack.h"
#include "tools/TStroke.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pv {

enum class PlaybackStart { Started = 0, Failed = 1, FileError = 2, PacketError = 3, VersionError = 4, Protected = 5 };
const char *PlaybackStartMessage(PlaybackStart result);

enum class PlaybackStep { Stepped = 0, Idle = 1, Finished = 2, Error = 3 };

// What a step changed beyond the paper's own repaint, for the windows around it.
namespace redraw_hint {
constexpr uint32_t kLayerList = 1 << 0;
constexpr uint32_t kPreview = 1 << 1;
constexpr uint32_t kPaper = 1 << 2;
constexpr uint32_t kLayerThumbnails = 1 << 3;
constexpr uint32_t kSelectionList = 1 << 4;
} // namespace redraw_hint

// A tone pattern defined by the stream, kept until the screen tones take it over.
struct PlayedTone {
    uint32_t streamId = 0;
    std::string name;
    bool option = false;
    uint16_t type = 0;
    int32_t first = 0, second = 0, third = 0;
    int32_t width = 0, height = 0;
    std::vector<uint8_t> pixels; // width × height bytes for a bitmap pattern
};

class EventPlayer {
public:
    static constexpr const char *kInvalidPackets = "ｲﾍﾞﾝﾄﾊﾟｹｯﾄが不正です!";
    static constexpr const char *kExtensionFlags = "eventMngr::readAppStat: extFlags version error!";
    static constexpr const char *kStopQuestion = "ｲﾍﾞﾝﾄ再生の途中ですが、再生を終了しますか?";
    static constexpr int kMaxPaperSide = 10000;
    static constexpr int kWaitMilliseconds = 20;
    // No window puts a sample this far outside a paper; the engine would step along the whole
    // distance, so a recording with one is damaged.
    static constexpr float kMaxSampleCoordinate = 100000;

    // appPen is the application's pen, which the recorder uses once the replay has ended.
    EventPlayer(TPaper &paper, TFlowImage &image, const TStroke &appPen);

    // Loads the file into the paper's recorder and applies everything up to and including the
    // new paper. unattended: a sealed stream is refused (no replay for conversion).
    PlaybackStart StartPlayback(const std::filesystem::path &path, bool unattended = false);
    // The same for a stream already in memory (steps = the header's step count).
    PlaybackStart StartStream(std::span<const uint8_t> stream, uint32_t steps, bool unattended = false);

    // One step; nowMs is a monotonic clock in milliseconds (the wait option spaces steps).
    PlaybackStep Step(int64_t nowMs);
    // The user asked to stop: after the question, the stroke being drawn is finished and the
    // replay counts as ended, interrupted. False when the user wants to go on.
    bool Stop();
    // Draws the rest of the stroke that is being replayed sample by sample, up to its end.
    void FinishStroke();
    // After Step returned Finished: the recorder continues the stream (true) or refuses.
    bool EnterAppendMode();

    void SetPaused(bool paused) { paused_ = paused; }
    bool Paused() const { return paused_; }
    // Wait mode: steps at least 20 ms apart and strokes drawn sample by sample.
    void SetWait(bool wait) { wait_ = wait; }
    bool Wait() const { return wait_; }

    bool Ended() const { return endReached_ || interrupted_; }
    bool Interrupted() const { return interrupted_; }
    int32_t StepsPlayed() const { return stepsPlayed_; }
    uint32_t StepCount() const { return stepCount_; }
    // Steps played × 100 / the step count, truncated, within 0..100 (0 for no steps); 100
    // once the end is reached.
    int ProgressPercent() const;
    int StreamVersion() const { return version_; }
    // The header of the file played (generation and flags as loaded); defaults for a stream.
    const events::EventFileHeader &FileHeader() const { return fileHeader_; }
    uint64_t ReadPosition() const { return readPos_; }
    // Where and why the replay stopped with an error.
    const std::string &Error() const { return error_; }
    uint32_t TakeRedrawHints();
    TStroke &Pen() { return pen_; }
    const std::vector<PlayedTone> &Tones() const { return tones_; }

private:
    struct Packet {
        uint64_t offset = 0;
        uint8_t group = 0, code = 0;
        std::vector<uint8_t> payload;
        // Any value: codes the table does not name match no case.
        events::PacketId Id() const { return events::PacketId((uint16_t(group) << 8) | code); }
    };

    PlaybackStart StartLoaded(bool unattended);
    // The packet at the read position; false at the end of the stream or on a damaged one
    // (error_ set in that case).
    bool ReadPacket(Packet &packet);
    bool Fail(const Packet &packet, const std::string &why);
    PlaybackStep Failed(const Packet &packet, const std::string &why);
    void CommitStep();

    bool ApplyState(const Packet &packet);
    bool ApplyPenState(const Packet &packet);
    bool ApplyTone(const Packet &packet);
    bool ApplyCurrent(const events::CurrentRecord &current);
    bool ApplyPaper(const Packet &packet);
    bool ApplyNewPaper(int32_t paperWidth, int32_t paperHeight, int32_t dpi, int32_t layerHeight, int32_t layerWidth);

    // Opens a stroke: from its begin packet, or implicitly on the current layer when samples
    // arrive without one.
    bool BeginStrokeReplay(const Packet &packet);
    enum class BatchResult { Failed, MoreToRead, StepDone };
    // Copies a batch in and draws it (only its first sample when drawing sample by sample).
    BatchResult ApplySamples(const Packet &packet);
    void DrawSample(const events::StrokeSample &sample);
    // Draws the next sample of a batch drawn sample by sample, ending the stroke after the
    // last sample of its final batch; false when no sample was waiting.
    bool DrawNextSample();
    void EndStrokeReplay();

    TPaper &paper_;
    TFlowImage &image_;
    const TStroke &appPen_;
    std::string name_;
    events::EventFileHeader fileHeader_;
    uint64_t readPos_ = 0;
    uint64_t stepStart_ = 0;
    int32_t stepsPlayed_ = 0;
    uint32_t stepCount_ = 0;
    int64_t lastStepMs_ = INT64_MIN / 2;
    int version_ = events::kVersionWithoutAppStatus;
    std::string error_;
    uint32_t redrawHints_ = 0;

    TStroke pen_;
    StrokeTrack track_;
    std::vector<PlayedTone> tones_;
    events::CMapDD definedTones_{10};
    std::vector<uint8_t> gradationColours_;
    std::optional<events::ImageRecord> floorImages_[2]; // ImageA and ImageB, for the floor filter
    std::vector<uint8_t> colourRange_;
    events::FontRecord font_;
    std::string text_;
    bool currentSeen_ = false;
    events::CurrentRecord lastCurrent_;

    std::vector<events::StrokeSample> batch_;
    size_t nextSample_ = 0;
    bool strokeDrawing_ = false;   // the stroke's first sample has been drawn
    bool strokeOpen_ = false;      // a StrokeBegin was read and its end not yet
    bool sampleBySample_ = false;  // the current batch is drawn one sample per step
    bool endAfterBatch_ = false;   // the batch was the stroke's last
    bool wait_ = false;
    bool paused_ = false;
    bool busy_ = false;
    bool startedCorrectly_ = false;
    bool endReached_ = false;
    bool interrupted_ = false;
};

// The window titles of a replay.
std::string PlaybackTitle(const std::string &paperName, int percent, int64_t elapsedMs);
std::string PausedPlaybackTitle(const std::string &paperName, int percent, int64_t elapsedMs);
std::string EndedPlaybackTitle(const std::string &paperName, bool interrupted, int64_t elapsedMs, bool appending);

} // namespace pv
