#include "frame/command_line.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

// Fetches the arguments the way the tools do: count once, then one by one.
Texts arguments_of(const std::string& line) {
    Texts arguments;
    int count = count_arguments_in(line);
    for (int i = 0; i < count; ++i) {
        std::string argument;
        EXPECT_TRUE(argument_at(line, i, &argument)) << "argument " << i << " of " << line;
        arguments.push_back(argument);
    }
    return arguments;
}

TEST(CommandLine, PlainWordsAreSplitAtSpaces) {
    EXPECT_EQ(count_arguments_in("tool list.txt Title"), 2);
    EXPECT_EQ(arguments_of("tool list.txt Title"), (Texts{"list.txt", "Title"}));
}

TEST(CommandLine, QuotedArgumentsKeepTheirSpacesAndLoseTheirQuotes) {
    EXPECT_EQ(arguments_of("tool   \"my list.txt\"   \"Pick one\" /menu"),
              (Texts{"my list.txt", "Pick one", "/menu"}));
    EXPECT_EQ(arguments_of("tool \"set x=$item\""), (Texts{"set x=$item"}));
}

TEST(CommandLine, AQuotedProgramNameIsOneToken) {
    EXPECT_EQ(arguments_of("\"C:\\Program Files\\tools\\tool.exe\" a"), (Texts{"a"}));
}

TEST(CommandLine, QuoteOpensATokenOnlyAtItsStart) {
    EXPECT_EQ(arguments_of("tool ab\"c d\"e"), (Texts{"ab\"c", "d\"e"}));
    EXPECT_EQ(arguments_of("tool ab\"c"), (Texts{"ab\"c"}));
}

TEST(CommandLine, ClosingQuoteEndsTheTokenEvenWithoutASpace) {
    EXPECT_EQ(arguments_of("tool \"abc\"def"), (Texts{"abc", "def"}));
    EXPECT_EQ(arguments_of("tool \"a\"\"b\""), (Texts{"a", "b"}));
}

TEST(CommandLine, EmptyQuotesAreAnArgumentThatCounts) {
    EXPECT_EQ(arguments_of("tool \"\" x"), (Texts{"", "x"}));
    EXPECT_EQ(count_arguments_in("tool \"\" \"\""), 2);
    EXPECT_EQ(arguments_of("tool \"\" \"\""), (Texts{"", ""}));
}

TEST(CommandLine, UnterminatedQuoteRunsToTheEnd) {
    EXPECT_EQ(arguments_of("tool \"unterminated text"), (Texts{"unterminated text"}));
    EXPECT_EQ(arguments_of("tool a \""), (Texts{"a", ""}));
}

TEST(CommandLine, TabIsPartOfTheArgument) {
    EXPECT_EQ(arguments_of("tool a\tb"), (Texts{"a\tb"}));
}

TEST(CommandLine, SpacesAloneMakeNoTokens) {
    EXPECT_EQ(count_arguments_in("tool   "), 0);
    EXPECT_EQ(count_arguments_in("tool"), 0);
    EXPECT_EQ(count_arguments_in("   tool  a  "), 1);
}

TEST(CommandLine, LineWithoutProgramNameCountsMinusOne) {
    EXPECT_EQ(count_arguments_in(""), -1);
    EXPECT_EQ(count_arguments_in("   "), -1);
    std::string argument = "stale";
    EXPECT_FALSE(argument_at("", 0, &argument));
    EXPECT_EQ(argument, "");
}

TEST(CommandLine, AskingPastTheLastArgumentGivesNothing) {
    std::string argument = "stale";
    EXPECT_FALSE(argument_at("tool a b", 2, &argument));
    EXPECT_EQ(argument, "");
    EXPECT_FALSE(argument_at("tool a   ", 1, &argument));
    EXPECT_FALSE(argument_at("tool a", -1, &argument));
    EXPECT_EQ(count_arguments_in("tool a b"), 2);
}

}  // namespace
