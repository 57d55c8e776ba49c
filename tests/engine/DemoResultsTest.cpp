// The engine's results on the demo deck must not change by a single bit when its solver is made
// faster: the digests below were taken of the files this engine wrote before, for one-minute steps
// (plot rows at every step), for a loop that plain substitution cannot settle, and for a tolerance
// so tight that a step does not converge and the listing names the value that still changes.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <filesystem>
#include <sstream>

#include "EngineTestSupport.h"

namespace talpix::test {
namespace {

std::string Sha256(const std::string& bytes) {
  return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256).toHex().toStdString();
}

// The listing without what differs from run to run: the deck's folder and the time taken.
std::string SteadyListing(const std::string& listing) {
  std::istringstream in(listing);
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Deck: ", 0) != 0 && line.find("time taken:") == std::string::npos && line.find("written:") == std::string::npos)
      kept += line + "\n";
  return kept;
}

std::string DemoDeckWith(const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string deck = taltest::ReadFile(std::string(TAL_SOURCE_DIR) + "/demo/HOUSE.DCK");
  for (const auto& [from, to] : changes) {
    auto at = deck.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) deck.replace(at, from.size(), to);
  }
  return deck;
}

TEST(DemoResults, AreTheSameBitForBit) {
  const std::string minute = "0.016666666666666666";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> changes;
    const char* listing;
    const char* output;
    const char* plot;
  };
  const std::vector<Case> cases = {
      {"five days at one-minute steps",
       {{"SIMULATION 1 8760 1", "SIMULATION 0 120 " + minute}, {"PARAMETERS 3\n1 0 100000", "PARAMETERS 3\n" + minute + " 0 100000"}},
       "837f150dfbc37bf598f0183dfd4ecac66547164f1141e411dd698544ce76bef8",
       "14c877bac92f3c3756e56f81c9234f796fcf70e88f50fa734dc150952540c577",
       "0986d8993b6999e0499813e9614957bb45ea63bf2dec18be4c81c037ddeffcfa"},
      {"a loop that substitution cannot settle", {{"KTANK=0.15", "KTANK=1"}, {"8760 1", "3000 1"}},
       "d1306be5ba4b84cd2c5edf7a0d1e6dd4edf708683ccbceda0b4de68f521e5e34",
       "5df414e01d061d6ea59be19ae9225b2d0fd6fad86237184eca93a9154ed310bc",
       "dfe454ead0e2be3d34bb8f62aa1efe63dc1b17b9b2d056578ae6a0505a5eafa9"},
      {"a step that does not converge", {{"KTANK=0.15", "KTANK=3"}, {"TOLERANCE=1E-6", "TOLERANCE=1E-12"}, {"8760 1", "3000 1"}},
       "c9d7120bdfdb6a258e7919bde17252d6f8cf4c25fcdf0c4e013c2281cdb59065",
       "85aceb31b74e120d76a413b589c930754c69da26ac57c7905d2844ddded8b04b",
       "4b96787bfe28a27c462ae6de93860096175cfc2459dd8c66e47bc1570c02b62a"},
  };
  for (const Case& c : cases) {
    taltest::TempDir dir;
    std::filesystem::copy_file(std::string(TAL_SOURCE_DIR) + "/demo/WEATHER.DAT", dir.file("WEATHER.DAT"));
    EngineRun r = RunDeck(dir, "HOUSE.DCK", DemoDeckWith(c.changes));
    ASSERT_EQ(r.exitCode, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(Sha256(SteadyListing(r.listing)), c.listing) << c.name << "\n" << SteadyListing(r.listing);
    EXPECT_EQ(Sha256(taltest::ReadFile(dir.file("HOUSE.OUT"))), c.output) << c.name;
    EXPECT_EQ(Sha256(taltest::ReadFile(dir.file("HOUSE.PLT"))), c.plot) << c.name;
  }
}

}  // namespace
}  // namespace talpix::test
