// The core's notes carry codes, so that a caller tells one failure from
// another without reading the text a user sees: a file that cannot be read,
// a kernel check that fails, an intent a re-cut cannot keep.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "document/design_io.h"
#include "files/asc_format.h"
#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"
#include "platform/diag_codes.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::bytesOf;

namespace fs = std::filesystem;

TEST(DiagnosticCodes, BrokenFileReadsSayWhatBrokeThem) {
    Stone notAsc;
    readAsc(notAsc, bytesOf("BREVIX 5.0\na 90 1 3\n"));
    EXPECT_EQ(notAsc.takeDiagnostics().codes(), std::vector<DiagCode>{DiagCode::FileNotAsc});

    const fs::path dir = fs::temp_directory_path() / ("brevix-codes-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string missing = (dir / "no such design.gem").string();
    EXPECT_EQ(readDesignFile(missing, FileType::Gem, 8, 1).notes.codes(),
              std::vector<DiagCode>{DiagCode::FileCannotOpenToRead});

    const std::string garbage = (dir / "garbage.gem").string();
    std::ofstream(garbage, std::ios::binary) << "this is no design";
    const DesignRead corrupt = readDesignFile(garbage, FileType::Gem, 8, 1);
    EXPECT_EQ(corrupt.outcome, ReadOutcome::Corrupt);
    EXPECT_EQ(corrupt.notes.codes(), std::vector<DiagCode>{DiagCode::DocCorruptFile});

    // A gear no design may hold stops the reading, with a text of its own.
    Stone wildGear;
    readAsc(wildGear, bytesOf("Brevix 5.0\ng 1000000 0\na 40 1 3\n"));
    const std::vector<DiagCode> codes = wildGear.takeDiagnostics().codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes[0], DiagCode::FileGearOutOfRange);
    fs::remove_all(dir);
}

TEST(DiagnosticCodes, KernelChecksAndQueries) {
    Stone torn;
    torn.nEdge = 11;  // a torn edge list
    torn.compact();
    const Diagnostics said = torn.takeDiagnostics();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].kind, DiagKind::InternalError);
    EXPECT_EQ(said[0].code, DiagCode::KernelEulerFailed);

    Stone noGear;
    noGear.gear = 0;
    Diagnostics notes;
    (void)noGear.facetIndexOf(0, notes);
    EXPECT_EQ(notes.codes(), std::vector<DiagCode>{DiagCode::KernelZeroGear});

    EXPECT_EQ(Stone::copyInto(nullptr, noGear).codes(), std::vector<DiagCode>{DiagCode::KernelNullCopyDestination});
}

TEST(DiagnosticCodes, AnIntentTheRecutCannotKeep) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    // Crown mains this flat leave the table and the stars cut to meet it
    // without a place: both keep their last planes.
    TierChange flat;
    flat.tier = 3;  // the crown mains
    flat.setAngle = true;
    flat.angle = 10;
    const RecutResult kept = recutByIntent(built.stone, built.intent, flat);
    EXPECT_EQ(kept.problemCodes, (std::vector<DiagCode>{DiagCode::IntentNotKept, DiagCode::IntentNotKept}));
    const Diagnostics notes = kept.problemNotes();
    EXPECT_EQ(notes.codes(), kept.problemCodes);
    EXPECT_EQ(notes.texts(), kept.problems);

    TierChange nowhere = flat;
    nowhere.tier = 99;
    const RecutResult refused = recutByIntent(built.stone, built.intent, nowhere);
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(refused.problemCodes, std::vector<DiagCode>{DiagCode::IntentNoSuchTier});
}

}  // namespace
}  // namespace brevix
