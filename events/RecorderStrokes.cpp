// Strokes in the stream: the pen prefix and a StrokeBegin at pen down, the samples in
// batches of 16 (a full batch goes out at once as StrokePoints), the rest as StrokeEnd at pen
// up, which closes the step. A stroke whose start could not be written records nothing more:
// the failure has stopped the recording and the stroke is not open.
#include "events/CEventMngr.h"

#include "tools/TStroke.h"

#include <bit>
#include <cstring>

namespace pv::events {

bool CEventMngr::BeginStroke(float x, float y, float pressure)
{
    if (strokeOpen_)
        return false;
    return Guarded([&] {
        const auto group = StrokeBeginGroup({2, false}).value() + (pen_ && pen_->noSmoothing() ? 1 : 0);
        if (!WritePenPrefix())
            return false;
        strokeHeader_ = {static_cast<uint16_t>(pen_->layerIndex()), paper_.ActiveSelectionIndex()};
        if (!WriteRecord(static_cast<uint8_t>(group), 0, strokeHeader_))
            return false;
        batchLength_ = samplesWritten_ = batchesWritten_ = 0;
        strokeOpen_ = true;
        return AddStrokeSample(x, y, pressure);
    });
}

bool CEventMngr::EndStroke()
{
    if (!strokeOpen_)
        return !IsRecording();
    if (!FlushBatch(PacketGroup::StrokeEnd))
        return false;
    CommitStep();
    strokeOpen_ = false;
    batchLength_ = samplesWritten_ = batchesWritten_ = 0;
    return true;
}

bool CEventMngr::FlushBatch(PacketGroup group)
{
    static_assert(std::endian::native == std::endian::little, "samples are copied as little-endian floats");
    static_assert(sizeof(StrokeSample) == 12);
    uint8_t packet[kPacketHeaderSize + sizeof batch_];
    packet[0] = static_cast<uint8_t>(group);
    packet[1] = static_cast<uint8_t>(batchLength_);
    const size_t bytes = size_t(batchLength_) * sizeof(StrokeSample);
    std::memcpy(packet + kPacketHeaderSize, batch_.data(), bytes);
    batchLength_ = 0;
    if (!WriteEncoded({packet, kPacketHeaderSize + bytes}))
        return false;
    ++batchesWritten_;
    return true;
}

} // namespace pv::events
