// Mask records against the mask list they must restore, and the ownership of kept masks in
// every order of pushes, undos, redos, trims, count changes and destruction.
#include "UndoFixture.h"

#include <functional>
#include <set>

#include <gtest/gtest.h>

namespace pv::test {
namespace {

void Select(CMaskMngr &masks, int32_t index, SExtent rect)
{
    TChannel region(rect.width, rect.height);
    region.Fill(255);
    masks.CombineRegion(index, region, {rect.x, rect.y}, MaskMode::Replace);
}

// What a user sees of the masks: order, current mask, names, positions and values.
struct MaskState {
    int32_t current;
    uint8_t flags;
    std::vector<std::string> names;
    std::vector<std::vector<uint8_t>> values;
    bool operator==(const MaskState &) const = default;
};

MaskState StateOf(const FakePaper &paper)
{
    MaskState s{paper.masks->CurrentIndex(), paper.flags, {}, {}};
    for (int32_t i = 0; i < paper.masks->Count(); ++i) {
        const CMaskData &m = *paper.masks->At(i);
        s.names.push_back(m.name);
        std::vector<uint8_t> v;
        for (int32_t y = -8; y < 72; y += 3)
            for (int32_t x = -8; x < 72; x += 3)
                v.push_back(m.ValueAt(x, y));
        s.values.push_back(v);
    }
    return s;
}

TEST(UndoMask, EveryKindBothWays)
{
    using Change = std::function<bool(FakePaper &)>;
    const auto push = [](FakePaper &p, UndoKind kind, int32_t index, UndoKeep keep = {}, UndoValues values = {},
                         std::string name = {}) {
        return p.undo.PushMaskRecord(kind, p.Layer(0), index, std::move(keep), values, std::move(name));
    };
    const struct {
        UndoKind kind;
        Change change;
    } cases[] = {
        {UndoKind::NewMask,
         [&](FakePaper &p) {
             const int32_t before = p.masks->CurrentIndex(), at = p.masks->InsertNew(2);
             p.masks->Select(at);
             return push(p, UndoKind::NewMask, at, {}, {before});
         }},
        {UndoKind::MaskFromLayer,
         [&](FakePaper &p) {
             auto mask = std::make_unique<CMaskData>();
             mask->FromLayerTransparency(p.Layer(0));
             const int32_t before = p.masks->CurrentIndex(), at = p.masks->Insert(0, std::move(mask));
             p.masks->Select(at);
             return push(p, UndoKind::MaskFromLayer, at, {}, {before});
         }},
        {UndoKind::DeleteMask,
         [&](FakePaper &p) {
             UndoKeep keep;
             keep.mask = p.masks->Remove(1);
             return push(p, UndoKind::DeleteMask, 1, std::move(keep));
         }},
        {UndoKind::MaskPixels,
         [&](FakePaper &p) {
             UndoKeep keep;
             keep.mask = p.masks->SelectAll(p.Layer(0));
             return push(p, UndoKind::MaskPixels, p.masks->CurrentIndex(), std::move(keep));
         }},
        {UndoKind::CombineMasks,
         [&](FakePaper &p) {
             UndoKeep keep;
             keep.mask = p.masks->CombineMasks(1, 0, MaskMode::Add);
             return push(p, UndoKind::CombineMasks, 1, std::move(keep));
         }},
        {UndoKind::SelectMask,
         [&](FakePaper &p) {
             p.masks->Select(0);
             return push(p, UndoKind::SelectMask, 0, {}, {1, 0});
         }},
        {UndoKind::MoveMaskInList,
         [&](FakePaper &p) { return p.masks->Move(1, 0) && p.masks->Select(0) && push(p, UndoKind::MoveMaskInList, 0, {}, {1, 0}); }},
        {UndoKind::InvertMask,
         [&](FakePaper &p) {
             p.masks->Invert(0);
             return push(p, UndoKind::InvertMask, 0);
         }},
        {UndoKind::MoveMask, [&](FakePaper &p) { return p.masks->MoveBy(5, -3) && push(p, UndoKind::MoveMask, 1, {}, {5, -3}); }},
        {UndoKind::SelectionFlags,
         [&](FakePaper &p) {
             p.flags = UndoPaper::kSelectionVisible | UndoPaper::kSelectionEnabled;
             return push(p, UndoKind::SelectionFlags, 0, {}, {0, p.flags});
         }},
        {UndoKind::MaskName,
         [&](FakePaper &p) {
             const bool ok = push(p, UndoKind::MaskName, 0, {}, {}, "髪");
             p.masks->At(0)->name = "髪";
             return ok;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(UndoKindName(int(c.kind)));
        FakePaper paper(1);
        paper.Image(0).SetAlpha({0, 0, 20, 20}, 255);
        Select(*paper.masks, 0, {4, 4, 20, 20});
        paper.masks->InsertNew(1);
        Select(*paper.masks, 1, {30, 10, 50, 70}); // reaches past the paper
        paper.masks->Select(1);
        const MaskState before = StateOf(paper);
        ASSERT_TRUE(c.change(paper));
        const MaskState after = StateOf(paper);
        ASSERT_NE(before, after);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(paper.Undo());
            EXPECT_EQ(before, StateOf(paper));
            ASSERT_TRUE(paper.Redo());
            EXPECT_EQ(after, StateOf(paper));
        }
        EXPECT_GT(paper.maskRefreshes, 0);
    }
}

TEST(UndoMask, RecordOfAReplacedMaskFails)
{
    RecordedMessages messages;
    FakePaper paper(1);
    Select(*paper.masks, 0, {4, 4, 20, 20});
    ASSERT_TRUE(paper.masks->MoveBy(2, 2));
    ASSERT_TRUE(paper.undo.PushMaskRecord(UndoKind::MoveMask, paper.Layer(0), 0, {}, {2, 2}));
    auto replaced = paper.masks->Replace(0, paper.masks->At(0)->Copy());
    const int32_t ox = paper.masks->At(0)->ox;
    EXPECT_FALSE(paper.Undo()) << "the copy carries another serial";
    EXPECT_EQ(ox, paper.masks->At(0)->ox) << "nothing moved";
}

// Every mask a record keeps is out of the list, and every mask of the list is kept by none.
void ExpectSoleOwners(const FakePaper &paper)
{
    std::set<const CMaskData *> inList;
    for (int32_t i = 0; i < paper.masks->Count(); ++i)
        inList.insert(paper.masks->At(i));
    for (const CUndoList *list : {&paper.undo.UndoList(), &paper.undo.RedoList()})
        for (int32_t i = 0; i < list->Count(); ++i)
            if (const CMaskData *kept = list->At(i)->kept.mask.get()) {
                EXPECT_EQ(0u, inList.count(kept)) << UndoKindName(int(list->At(i)->kind));
            }
}

// n new, f from layer, d delete, p pixels, c combine, u undo, r redo, t forty light records
// (trimming), s counts down to one, x clear; the paper is destroyed in the end state.
void Play(const std::string &script)
{
    SCOPED_TRACE(script);
    RecordedMessages messages;
    FakePaper paper(1, 3);
    paper.Image(0).SetAlpha({0, 0, 9, 9}, 255);
    Select(*paper.masks, 0, {1, 1, 9, 9});
    for (char op : script) {
        CMaskMngr &masks = *paper.masks;
        const int32_t current = masks.CurrentIndex();
        UndoKeep keep;
        switch (op) {
        case 'n':
        case 'f': {
            auto mask = std::make_unique<CMaskData>();
            if (op == 'f')
                mask->FromLayerBrightness(paper.Layer(0));
            const int32_t at = masks.Insert(current + 1, std::move(mask));
            masks.Select(at);
            paper.undo.PushMaskRecord(op == 'n' ? UndoKind::NewMask : UndoKind::MaskFromLayer, paper.Layer(0), at, {}, {current});
            break;
        }
        case 'd':
            keep.mask = masks.Remove(current);
            if (keep.mask)
                paper.undo.PushMaskRecord(UndoKind::DeleteMask, paper.Layer(0), current, std::move(keep));
            break;
        case 'p':
            keep.mask = masks.SelectAll(paper.Layer(0));
            if (keep.mask)
                paper.undo.PushMaskRecord(UndoKind::MaskPixels, paper.Layer(0), current, std::move(keep));
            break;
        case 'c':
            keep.mask = masks.CombineMasks(current, 0, MaskMode::Add);
            if (keep.mask)
                paper.undo.PushMaskRecord(UndoKind::CombineMasks, paper.Layer(0), current, std::move(keep));
            break;
        case 'u': paper.Undo(); break;
        case 'r': paper.Redo(); break;
        case 't':
            for (int i = 0; i < 40; ++i)
                paper.undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity);
            break;
        case 's': paper.undo.SetCounts(1, 1); break;
        case 'x': paper.undo.ClearAll(); break;
        default: FAIL() << op;
        }
        ExpectSoleOwners(paper);
    }
}

TEST(UndoMask, KeptMasksHaveOneOwnerInEveryOrder)
{
    for (const char *script : {"nuu", "nurur", "dudur", "duu", "pupr", "cucr", "fufrt", "nnnnnuuuuu", "nudupucufu",
                               "ndpcfuuuuurrrrr", "ndpcfuuuut", "ndpcfuuus", "nduurx", "pdnuuu", "npdcuurrnd",
                               "nuuuududrr", "ddduuu", "ndpcfuuuuu"})
        Play(script);
}

} // namespace
} // namespace pv::test
