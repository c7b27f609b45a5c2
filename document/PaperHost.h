// PaperHost: the canvas window as the paper sees it — repaint, the modified and
// stroke-in-progress flags, the title, scroll ranges, the tool windows and the wait cursor.
// The desktop shell's canvas implements it; unattended runs use HeadlessPaperHost, tests a
// recording fake.
#pragma once

#include "raster/ImageRect.h"

#include <cstdint>

namespace pv {

class PaperHost {
public:
    virtual ~PaperHost() = default;

    // A paper rectangle to repaint; InvalidateAll repaints the whole window.
    virtual void InvalidateRect(const SEdgeRect &rect) = 0;
    virtual void InvalidateAll() = 0;
    virtual void SetModified(bool modified) = 0;
    virtual bool Modified() const = 0;
    virtual void SetStrokeInProgress(bool inProgress) = 0;
    virtual void SetPointCounter(int32_t points) = 0;
    virtual int32_t PointCounter() const = 0;
    virtual void UpdateTitle() = 0;
    virtual void UpdateScrollRanges() = 0;
    virtual void RefreshLayerWindow() = 0;
    virtual void RefreshSelectionWindow() = 0;
    virtual void RefreshPreviewWindow() = 0;
    // Nested: the cursor is back when every BeginWait has its EndWait.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

// The wait cursor for the lifetime of a scope, restored on every way out.
class WaitCursor {
public:
    explicit WaitCursor(PaperHost &host) : host_(host) { host_.BeginWait(); }
    ~WaitCursor() { host_.EndWait(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    PaperHost &host_;
};

// A host without a window: it keeps the flags and repaints nothing.
class HeadlessPaperHost : public PaperHost {
public:
    void InvalidateRect(const SEdgeRect &) override {}
    void InvalidateAll() override {}
    void SetModified(bool modified) override { modified_ = modified; }
    bool Modified() const override { return modified_; }
    void SetStrokeInProgress(bool) override {}
    void SetPointCounter(int32_t points) override { points_ = points; }
    int32_t PointCounter() const override { return points_; }
    void UpdateTitle() override {}
    void UpdateScrollRanges() override {}
    void RefreshLayerWindow() override {}
    void RefreshSelectionWindow() override {}
    void RefreshPreviewWindow() override {}
    void BeginWait() override {}
    void EndWait() override {}

private:
    bool modified_ = false;
    int32_t points_ = 0;
};

} // namespace pv
