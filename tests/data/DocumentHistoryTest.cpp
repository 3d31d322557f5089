// Edit > Undo and Redo of the document: what a step puts back, the modified flag against the
// last save, the byte limit and a step that finds no memory.
#include "data/DocumentHistory.h"
#include "options/OptionsCommands.h"
#include "support/DocTest.h"
#include "support/FailLargeAllocations.h"

#include <functional>
#include <tuple>

namespace lumetra {
namespace {

struct History : test::ExampleDocTest {
    int refits = 0;

    // OK of an Options sheet that made `change`; pairs: the change touches the pairs.
    void Change(const std::function<void()>& change, bool pairs = true, const char* name = "") {
        RunOptionsData(
            doc,
            [&](DocumentBackup& backup) {
                if (pairs) {
                    EXPECT_TRUE(backup.KeepPairs(doc));
                }
                backup.m_strChange = name;
                change();
                doc.SetModifiedFlag(true);
                return true;
            },
            [this] { ++refits; });
    }
    bool Step(bool redo) {
        return StepHistory(doc, redo, [this] { ++refits; });
    }
    auto State() const {
        std::vector<std::tuple<double, double, double>> pairs;
        for (const CXYdata& p : doc.m_pPairs)
            pairs.emplace_back(p.m_dX, p.m_dY, p.m_dSigma);
        return std::tuple(pairs, doc.m_nPairs, doc.m_nCurveType, doc.m_nOrder, doc.m_strDataTitle,
                          doc.m_nYDecimals, doc.m_szYFormat, doc.m_eWeights, doc.IsModified());
    }
    void AddPairs(int n) {
        for (int k = 0; k < n; ++k)
            doc.m_pPairs.push_back({double(k), 1.0, 0.0, 0.0, 0.5});
    }
};

// Each step back puts the pairs, the settings and the flag as they were; each step forward
// makes the change again; a new change ends the way forward.
TEST_F(History, UndoAndRedoWalkTheStepsBothWays) {
    const auto saved = State();
    Change([this] { AddPairs(3); }, true, "Paste");
    const auto pasted = State();
    Change(
        [this] {
            doc.m_nCurveType = 1;
            doc.m_nYDecimals = 2;
            doc.m_eWeights = WeightScheme::Sigma;
        },
        false);
    const auto retyped = State();
    EXPECT_EQ(doc.m_history.UndoName(), "Options");
    EXPECT_EQ(refits, 2);

    EXPECT_TRUE(Step(false));
    EXPECT_EQ(State(), pasted);
    EXPECT_EQ(doc.m_history.UndoName(), "Paste");
    EXPECT_EQ(doc.m_history.RedoName(), "Options");
    EXPECT_TRUE(Step(false));
    EXPECT_EQ(State(), saved); // unmodified: as read
    EXPECT_FALSE(Step(false));
    EXPECT_EQ(refits, 4);
    EXPECT_TRUE(Step(true));
    EXPECT_TRUE(Step(true));
    EXPECT_EQ(State(), retyped);
    EXPECT_FALSE(Step(true));

    EXPECT_TRUE(Step(false));
    Change([this] { doc.m_strDataTitle = "Other"; }, false);
    EXPECT_FALSE(doc.m_history.CanRedo());
    EXPECT_EQ(doc.m_history.Steps(), 2u);
    EXPECT_TRUE(ui.messages.empty());
}

// Excluding pairs is one step that undo takes back and redo makes again; a request that changes
// no mark, or comes while the document is busy, is no step.
TEST_F(History, ExcludingPairsIsOneStep) {
    auto marks = [this] {
        std::vector<bool> out;
        for (const CXYdata& p : doc.m_pPairs)
            out.push_back(p.m_bExcluded);
        return out;
    };
    const size_t both[] = {0, 1}, second[] = {1}, beyond[] = {7};
    EXPECT_TRUE(SetPairsExcluded(doc, both, true, [this] { ++refits; }));
    EXPECT_EQ(marks(), (std::vector<bool>{true, true}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_history.UndoName(), "Exclude from Fit");
    EXPECT_FALSE(SetPairsExcluded(doc, both, true, [this] { ++refits; }));
    EXPECT_FALSE(SetPairsExcluded(doc, beyond, false, [this] { ++refits; }));
    doc.m_bFitting = 1;
    EXPECT_FALSE(SetPairsExcluded(doc, second, false, [this] { ++refits; }));
    doc.m_bFitting = 0;
    EXPECT_TRUE(SetPairsExcluded(doc, second, false, [this] { ++refits; }));
    EXPECT_EQ(marks(), (std::vector<bool>{true, false}));
    EXPECT_EQ(doc.m_history.UndoName(), "Include in Fit");
    EXPECT_EQ(refits, 2);

    EXPECT_TRUE(Step(false));
    EXPECT_EQ(marks(), (std::vector<bool>{true, true}));
    EXPECT_TRUE(Step(false));
    EXPECT_EQ(marks(), (std::vector<bool>{false, false}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(Step(true));
    EXPECT_EQ(marks(), (std::vector<bool>{true, true}));
    EXPECT_TRUE(ui.messages.empty());
}

// Without memory for the copy Undo needs, no pair leaves the fit and the user is told.
TEST_F(History, ExcludingWithoutMemoryForUndoChangesNothing) {
    AddPairs(100000);
    const size_t first[] = {0};
    {
        test::FailLargeAllocations fail(size_t(1) << 20);
        EXPECT_FALSE(SetPairsExcluded(doc, first, true, [this] { ++refits; }));
    }
    EXPECT_EQ(ui.OnlyMessage(), "Not enough memory to keep this change for Undo!\n"
                                "The pairs are left as they were.");
    EXPECT_FALSE(doc.m_pPairs[0].m_bExcluded);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(refits, 0);
}

// The flag tells the document apart from its file as last saved, wherever the save fell.
TEST_F(History, TheModifiedFlagFollowsTheLastSave) {
    Change([this] { AddPairs(1); });
    Change([this] { AddPairs(1); });
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("saved.dat")));
    const struct {
        bool redo;
        bool modified;
    } steps[] = {{false, true}, {false, true}, {true, true}, {true, false}};
    for (const auto& s : steps) {
        EXPECT_TRUE(Step(s.redo));
        EXPECT_EQ(doc.IsModified(), s.modified) << s.redo;
    }
    // Changed outside the history before its first step, the document matches its file in none.
    CLumetraDoc other(ui, settings);
    test::FillExample(other);
    other.SetModifiedFlag(true);
    RunOptionsData(
        other,
        [&](DocumentBackup&) {
            other.m_nOrder = 2;
            other.SetModifiedFlag(true);
            return true;
        },
        [] {});
    EXPECT_TRUE(StepHistory(other, false, [] {}));
    EXPECT_TRUE(other.IsModified());
    EXPECT_EQ(other.m_nOrder, 1);
}

// Over the byte limit the oldest steps go; the newest stay and still lead back step by step.
TEST_F(History, TheByteLimitDropsTheOldestSteps) {
    const size_t pairBytes = 1000 * sizeof(CXYdata);
    doc.m_history.SetByteLimit(2 * pairBytes + pairBytes / 2);
    AddPairs(998);
    std::vector<decltype(State())> states;
    for (int k = 0; k < 4; ++k) {
        states.push_back(State());
        Change([this, k] { doc.m_pPairs[0].m_dY = k; });
    }
    EXPECT_EQ(doc.m_history.Steps(), 2u);
    EXPECT_LE(doc.m_history.Bytes(), 2 * pairBytes + pairBytes / 2);
    EXPECT_TRUE(Step(false));
    EXPECT_TRUE(Step(false));
    EXPECT_EQ(State(), states[2]);
    EXPECT_FALSE(Step(false));
}

// A step that finds no memory drops the history with a message; the change itself stays.
TEST_F(History, AStepWithoutMemoryDropsTheHistoryAndKeepsTheChange) {
    // Sixteen steps fill the room kept for them; the next one asks for room for 32.
    for (int k = 0; k < 16; ++k)
        Change([this, k] { doc.m_nOrder = 1 + k % 2; }, false);
    ASSERT_EQ(doc.m_history.Steps(), 16u);
    {
        test::FailLargeAllocations fail(16 * sizeof(DocumentBackup));
        Change([this] { AddPairs(1); });
    }
    EXPECT_EQ(ui.OnlyMessage(), kHistoryDroppedMessage);
    EXPECT_EQ(doc.m_pPairs.size(), 3u);
    EXPECT_EQ(doc.m_nPairs, 3);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(refits, 17);
    EXPECT_FALSE(doc.m_history.CanUndo());
}

} // namespace
} // namespace lumetra
