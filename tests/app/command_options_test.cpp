// The options of the commands as the parser reads them: every form a user types, and the
// arguments it must leave alone.
#include <gtest/gtest.h>

#include <optional>

#include "app/cli.h"
#include "app/cli_test_support.h"

namespace kestrova::cli {
namespace {

TEST(CommandOptionsTest, FormsOfOptionsAndArgumentsLeftAlone) {
  using TKind = TCommandOptions::EBadOption::TKind;
  struct Case {
    Args args;
    std::string table;  // the value of --table ("" when not given)
    bool replace;
    Args positional;
    std::optional<TKind> error;
    std::string argument;  // that the error names
  };
  const std::string latin1 = "caf\xe9.txt";  // no UTF-8: its bytes come back as they were
  const Case cases[] = {
      {{"--table", "t", "f"}, "t", false, {"f"}, {}, ""},
      {{"--table=t", "f"}, "t", false, {"f"}, {}, ""},
      {{"f", "--replace", "--table", "t"}, "t", true, {"f"}, {}, ""},
      {{"--table", "a", "--table=b", "f"}, "b", false, {"f"}, {}, ""},
      // Negative numbers and "-" are arguments; a value may begin with a dash.
      {{"-0.5", "-", "-.5"}, "", false, {"-0.5", "-", "-.5"}, {}, ""},
      {{"--table", "-30"}, "-30", false, {}, {}, ""},
      {{"--table", "-x"}, "-x", false, {}, {}, ""},
      {{"--", "--replace", "-x"}, "", false, {"--replace", "-x"}, {}, ""},
      {{"--table", latin1, latin1}, latin1, false, {latin1}, {}, ""},
      {{"f", "--colour=red"}, "", false, {}, TKind::Unknown, "--colour=red"},
      {{"-rf", "f"}, "", false, {}, TKind::Unknown, "-rf"},
      {{"f", "--table"}, "", false, {}, TKind::NoValue, "--table"},
  };
  for (const Case& c : cases) {
    const std::string line = c.args.front() + " " + c.args.back();
    TCommandOptions options({{"table", true}, {"replace", false}});
    try {
      options.Parse(c.args);
      EXPECT_FALSE(c.error) << line;
    } catch (const TCommandOptions::EBadOption& e) {
      ASSERT_TRUE(c.error) << line << ": " << e.Argument;
      EXPECT_EQ(e.Kind, *c.error) << line;
      EXPECT_EQ(e.Argument, c.argument) << line;
      continue;
    }
    EXPECT_EQ(options.IsSet("table"), !c.table.empty()) << line;
    EXPECT_EQ(options.Value("table"), c.table) << line;
    EXPECT_EQ(options.IsSet("replace"), c.replace) << line;
    EXPECT_EQ(options.Positional(), c.positional) << line;
  }
}

TEST(CommandOptionsTest, EveryCommandRefusesAnOptionItDoesNotKnow) {
  const Args commands[] = {{"jd", "1.1.2000"},
                           {"date", "2451545"},
                           {"ephem", "Mars", "2451545"},
                           {"ephem", "--data-file", "x.db", "2451545"},
                           {"import", "--format", "comets", "--table", "t", "x.txt"},
                           {"dump", "x.orb"},
                           {"convert", "x.orb", "y.orb"},
                           {"render", "--size", "50", "--out", "x.png"}};
  for (Args args : commands) {
    args.insert(args.begin() + 1, "--nonsense=1");
    const TCliResult r = RunCommand(args);
    EXPECT_EQ(r.status, kBadInput) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    // render words it as it always did.
    const std::string what = args[0] == "render" ? "unknown option" : "unexpected argument";
    EXPECT_EQ(r.err.rfind("kestrova-cli " + args[0] + ": " + what + " '--nonsense=1'\n", 0), 0u)
        << r.err;
  }
}

}  // namespace
}  // namespace kestrova::cli
