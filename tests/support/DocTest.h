#pragma once

#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "support/ExampleFile.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace lumetra::test {

// A document as most tests have one: its messages recorded, its settings in memory.
struct DocTest : ::testing::Test {
    RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
};

// The example data set in the document, and a folder to save it in.
struct ExampleDocTest : DocTest {
    TempDir dir;
    void SetUp() override { FillExample(doc); }
};

} // namespace lumetra::test
