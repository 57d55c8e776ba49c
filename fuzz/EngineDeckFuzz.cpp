// The engine's deck reader and expression parser, read-only. With the first byte even the rest is
// a deck: read, its expressions compiled, its constants computed and its units set up as before a
// run (the files it reads looked for in a scratch folder), but never run, so nothing is written.
// With the first byte odd the rest is one expression, compiled against the names A and B and [1,1]
// and evaluated both as a chain (where it is one) and on a stack, which must agree.
#include <cstring>
#include <sstream>

#include "Deck.h"
#include "EngineFuzzSupport.h"
#include "Expression.h"
#include "Simulation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string text(talfuzz::Bytes(data + 1, size - 1));
  if (data[0] % 2 == 1) {
    talpix::Expression::Resolver resolver;
    resolver.name = [](const std::string& name, std::string& why) { return name == "A" ? 0 : name == "B" ? 1 : -1; };
    resolver.output = [](int unit, int output, std::string& why) { return unit == 1 && output == 1 ? 2 : -1; };
    std::string why;
    talpix::Expression e = talpix::Expression::Compile(text, resolver, why);
    if (e.empty() != !why.empty()) talfuzz::Fail("an expression failed without a reason, or compiled with one");
    const double values[] = {1.5, -2, 1e99};
    const char *error = nullptr, *stackError = nullptr;
    if (e.empty()) return 0;
    const double value = e.evaluate(values, error), stacked = e.evaluateStack(values, stackError);
    // A chain computes what the stack computes: the same fault, or the same bits.
    if ((error == nullptr) != (stackError == nullptr) || (error && std::strcmp(error, stackError) != 0) ||
        (!error && std::memcmp(&value, &stacked, sizeof value) != 0))
      talfuzz::Fail("an expression's chain and stack give different results");
    return 0;
  }
  if (!talfuzz::FilesStayBesideTheDeck(text)) return 0;
  std::string folder = talfuzz::FreshRunFolder();
  std::vector<talpix::Diagnostic> diagnostics;
  talpix::Deck deck = talpix::ReadDeckText(text, diagnostics);
  talpix::Simulation simulation(deck, folder, folder + "/F", diagnostics);
  simulation.build();
  return 0;
}
