#include "link/reply_collector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmot::link {
namespace {

using State = ReplyCollector::State;

std::string collected(const ReplyCollector& c) { return std::string(c.chars().data(), c.count()); }

TEST(ReplyCollector, CompleteAtTheCarriageReturnAcrossReads) {
  ReplyCollector c;
  EXPECT_EQ(c.feed("#HG", 3), State::Incomplete);
  EXPECT_EQ(c.feed("HG\rJUNK", 7), State::Complete);
  EXPECT_EQ(collected(c), "#HGHG\r");
}

TEST(ReplyCollector, KeepsOnlyTheFirst29Characters) {
  ReplyCollector c;
  const std::string longReply = "#" + std::string(40, 'G') + "\r";
  EXPECT_EQ(c.feed(longReply.data(), longReply.size()), State::Complete);
  EXPECT_EQ(c.count(), 29u);
  EXPECT_EQ(collected(c), longReply.substr(0, 29));
}

struct MarkCase {
  const char* what;
  std::vector<std::string> reads;
  State last;
  std::string chars;
};

TEST(ReplyCollector, LineErrorMarks) {
  using namespace std::string_literals;
  const std::vector<MarkCase> cases = {
      {"character with a framing error", {"#H\xFF\x00G"s}, State::LineError, "#HG"},
      {"break", {"#H\xFF\x00\x00"s}, State::LineError, "#H"},
      {"error together with the CR counts as a reply", {"#H\xFF\x00GG\r"s}, State::Complete,
       "#HGG\r"},
      {"erroneous CR itself still ends the reply", {"#H\xFF\x00\r"s}, State::Complete, "#H\r"},
      {"doubled 0xFF is a plain character", {"#\xFF\xFF\r"s}, State::Complete, "#\xFF\r"},
      {"mark split over reads", {"#H\xFF"s, "\x00"s, "G"s}, State::LineError, "#HG"},
      {"escape split, then data", {"#\xFF"s, "\xFFG\r"s}, State::Complete, "#\xFFG\r"},
  };
  for (const auto& c : cases) {
    ReplyCollector collector;
    State state = State::Incomplete;
    for (const auto& read : c.reads) state = collector.feed(read.data(), read.size());
    EXPECT_EQ(state, c.last) << c.what;
    EXPECT_EQ(collected(collector), c.chars) << c.what;
  }
}

TEST(ReplyCollector, AnErrorInAnEarlierReadDoesNotSpoilALaterComplete) {
  ReplyCollector c;
  using namespace std::string_literals;
  const std::string bad = "#\xFF\x00H"s;
  EXPECT_EQ(c.feed(bad.data(), bad.size()), State::LineError);
  EXPECT_EQ(c.feed("G\r", 2), State::Complete);
}

}  // namespace
}  // namespace zelmot::link
