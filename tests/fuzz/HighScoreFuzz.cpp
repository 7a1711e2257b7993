// Builds the high-score table from an arbitrary settings file and offers it a new score (the first four
// bytes, when there are that many). The table always holds its ten rows, and a score it takes is in one.
#include "FuzzApplication.h"

#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

static void expectRows(const HighScoreTable& table) {
    for (int i = 0; i < HighScoreTable::Rows; ++i)
        if (!table.line(i))
            std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t score = 0;
    if (size >= sizeof score) {
        std::memcpy(&score, data, sizeof score);
        data += sizeof score;
        size -= sizeof score;
    }
    FuzzApplication::app->useStore(data, size);
    HighScoreTable table;
    expectRows(table);
    table.resizeForScreen(1280, 1024);
    if (table.insertScore(score)) {
        const HighScoreLine* entry = table.newScoreLine();
        if (!entry || entry->score() != QString::number(score))
            std::abort();
        expectRows(table);
        table.abandonEntry();
    }
    return 0;
}
