// What the window tests start from: a temporary folder (with the sample data
// when asked), the fake user interface and a document over settings kept in
// memory. Members are destroyed in reverse order, the document first.
#pragma once

#include <memory>
#include <string>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "app/CAppDoc.h"
#include "cli/SampleData.h"
#include "support/MemorySettingsStore.h"
#include "support/Progress.h"

struct AppFixture {
    // `items` units and widgets of sample data; none writes no sample data.
    explicit AppFixture(int items = 0)
        : written(items == 0 || WriteSampleData(dir.Path(), items, NoProgress())) {}

    std::string At(const std::string& name) const { return dir / name; }

    TempDir dir;
    bool written;
    FakeUserInterface ui;
    MemorySettingsStore store;
    CAppDoc doc{store};
};
