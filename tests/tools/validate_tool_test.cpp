// velmora-validate against the fixture plug-in and its faulty variants: each fault is
// caught by the check meant for it, with its reason on the check's line and exit status 1;
// a sound plug-in passes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace velmora::validate {
namespace {

struct ValidateRun {
  int exitCode = -1;
  std::string out;
};

ValidateRun Validate(const std::string& arguments) {
  std::string command = std::string("'") + VELMORA_VALIDATE_TOOL + "' " + arguments + " 2>&1";
  ValidateRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return run;
  }
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    run.out.append(buffer, got);
  }
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Plugin(const char* path) {
  return std::string("'") + path + "'";
}

bool HasLine(const std::string& out, const std::string& start) {
  return out.rfind(start, 0) == 0 || out.find("\n" + start) != std::string::npos;
}

TEST(ValidateTool, SoundFixturePassesAtNormal) {
  ValidateRun run = Validate(Plugin(FIXTURE_VSTMAIN) + " --strictness normal");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_FALSE(HasLine(run.out, "FAIL")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "PASS state: 3 random settings restored")) << run.out;
#ifdef VALIDATE_COUNTS_ALLOCATIONS
  EXPECT_TRUE(HasLine(run.out, "PASS allocation: 0 allocations and 0 frees")) << run.out;
#else
  EXPECT_TRUE(HasLine(run.out, "SKIP allocation: heap calls are counted only")) << run.out;
#endif
  EXPECT_TRUE(HasLine(run.out, "SKIP long-block: runs at strict only")) << run.out;
}

TEST(ValidateTool, HostileParameterValuesMustStayInRangeAndKeepAudioFinite) {
  ValidateRun run = Validate(Plugin(FIXTURE_RAW_PARAMS) + " --only fuzz");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  // The gain also turns the last hostile value, the lowest float, into infinite output.
  EXPECT_TRUE(HasLine(run.out,
                      "FAIL fuzz: parameter 0 set to -1.000000 reads back -1.000000; after "
                      "hostile parameter values: "))
      << run.out;
  run = Validate(Plugin(FIXTURE_RAW_PARAMS) + " --only fuzz --strictness basic");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_TRUE(HasLine(run.out, "FAIL fuzz: after hostile parameter values: ")) << run.out;
}

TEST(ValidateTool, NonFiniteOutputFailsProcessingAtEveryLevel) {
  ValidateRun run = Validate(Plugin(FIXTURE_NAN) + " --strictness 1 --only processing,automation");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  // The first run's silent half turns into NaN on both channels.
  EXPECT_TRUE(HasLine(run.out,
                      "FAIL processing: float at 22050 Hz, block 1, with tempo: 8192 NaN and 0 "
                      "infinite in 16384 output samples"))
      << run.out;
  EXPECT_TRUE(HasLine(run.out, "PASS automation")) << run.out << "a signal without silence";
}

TEST(ValidateTool, AllocationInSteadyBlocksFailsOnlyAtStrict) {
#ifndef VALIDATE_COUNTS_ALLOCATIONS
  GTEST_SKIP() << "a sanitizer build counts no heap calls";
#endif
  ValidateRun run = Validate(Plugin(FIXTURE_ALLOCATE) + " --strictness strict --only allocation");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_TRUE(
      HasLine(run.out, "FAIL allocation: 256 allocations and 256 frees in 256 steady blocks"))
      << run.out;
  run = Validate(Plugin(FIXTURE_ALLOCATE) + " --strictness normal --only allocation");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_TRUE(HasLine(run.out,
                      "PASS allocation: 256 allocations and 256 frees in 256 steady "
                      "blocks (tempo rising from 120 BPM) (fails at strict)"))
      << run.out;
}

TEST(ValidateTool, HangingAndMissingPluginsFailWithAReason) {
  ValidateRun run = Validate(Plugin(FIXTURE_HANG) + " --only info,processing --time-limit 1");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_TRUE(HasLine(run.out, "PASS info")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "FAIL processing: the run exceeded its time limit")) << run.out;

  run = Validate(Plugin(FIXTURE_REFUSE) + " --only info");
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_NE(run.out.find("FAIL info: "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("refused to create an instance"), std::string::npos) << run.out;
}

TEST(ValidateTool, CommandLineMistakesExitWithTwo) {
  for (const char* arguments : {"", "--strictness 4 x.so", "--only nothing x.so", "a.so b.so",
                                "--frobnicate x.so", "--time-limit 0 x.so"}) {
    ValidateRun run = Validate(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments << ": " << run.out;
    EXPECT_EQ(run.out.rfind("velmora-validate: ", 0), 0u) << run.out;
  }
  ValidateRun run = Validate("--list");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "info\nprograms\nstate\neditor\nprocessing\nautomation\nfuzz\nlocale\nallocation\n"
            "nonfinite-input\nlong-block\n");
}

}  // namespace
}  // namespace velmora::validate
