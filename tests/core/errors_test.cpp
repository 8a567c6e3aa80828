#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/doubles.h"

using namespace drapeline;

TEST(Guard, TrapsWithNumberDescriptionModuleProcedureAndStage) {
    testkit::TrapRecorder trap;
    markStage(1234);
    EXPECT_THROW(guarded("modIFFsupport", "gsReadIFF", Stages::Marked,
                         [] { throw RuntimeError(err::InputPastEnd); }),
                 ProgramEnded);
    ASSERT_EQ(trap.calls, 1);
    EXPECT_EQ(trap.last.number, 62);
    EXPECT_EQ(trap.last.description, "Input past end of file");
    EXPECT_EQ(trap.last.module, "modIFFsupport");
    EXPECT_EQ(trap.last.procedure, "gsReadIFF");
    // A procedure with stages keeps the last marker, even one another procedure stored.
    EXPECT_EQ(trap.last.stage, 1234);

    // One without stages reports location 0, and a standard failure maps to its number.
    EXPECT_THROW(guarded("frmMain", "msGetFileNames", Stages::None,
                         [] { return std::string("abc").at(7); }),
                 ProgramEnded);
    EXPECT_EQ(trap.last.number, 9);
    EXPECT_EQ(trap.last.stage, 0);
    EXPECT_EQ(trap.calls, 2);
}
