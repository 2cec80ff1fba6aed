// The properties of the table's builder, checker with dump, and reader on
// tables the input chooses: built ones must be sound and dump back to their
// source; edited ones, where found sound, must read as they dump; the dump of
// either, in its text form, must build back the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/table_properties.h"
#include "tests/support/text_form_round_trip.h"

namespace {

class InputChoices final : public navo::testing::Choices {
 public:
  explicit InputChoices(FuzzedDataProvider& input) : input_(input) {}
  uint32_t Below(uint32_t bound) override {
    return bound == 0 ? 0 : input_.ConsumeIntegralInRange<uint32_t>(0, bound - 1);
  }

 private:
  FuzzedDataProvider& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  InputChoices choices(input);
  const bool edited = input.ConsumeBool();
  const navo::TableSource source = navo::testing::GeneratedSource(choices);
  std::vector<uint8_t> bytes = navo::BuildCodeTable(source).bytes;
  std::string fault;
  if (edited) {
    navo::testing::EditTable(bytes, choices);
    fault = navo::testing::ReaderDisagreement(bytes);
  } else {
    fault = navo::testing::RoundTripFault(source);
  }
  if (fault.empty()) fault = navo::testing::TextFormFault(bytes, !edited);
  if (!fault.empty()) {
    std::fprintf(stderr, "table property: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
