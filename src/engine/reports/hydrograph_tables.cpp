// The final hydrograph table: the numbered list of every stored hydrograph, then the
// ordinates as columns, 50 columns to a block.
#include "engine/reports/hydrograph_tables.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "driver/messages.h"
#include "engine/reports/parameter_summary.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr std::size_t columnsPerBlock = 50;

struct Column {
  std::string description;
  std::span<const float> values;
  int decimals = 4;
};

// The ordinates a record really holds of one of its series.
std::span<const float> heldOrdinates(const state::Series& series, int count) {
  if (!series.allocated) return {};
  const auto n = static_cast<std::size_t>(std::max(count, 0));
  return std::span<const float>(series.values).first(std::min(n, series.values.size()));
}

Column columnOf(std::string description, std::span<const float> values) {
  const float peak = values.empty() ? 0.0F : *std::max_element(values.begin(), values.end());
  return {std::move(description), values, numsigfig(peak)};
}

std::vector<Column> columnsOf(std::span<const state::Site> records) {
  std::vector<Column> columns;
  for (const state::Site& r : records) {
    const std::string title(io::trimRight(r.title));
    const auto hyd1 = heldOrdinates(r.hyd1, r.nOrd1);
    if (r.kind == 2) {
      columns.push_back(columnOf(title + " - " + std::string(io::trimRight(r.label12a)), hyd1));
      columns.push_back(
          columnOf(title + " - " + std::string(io::trimRight(r.label12b)), heldOrdinates(r.hyd2, r.nOrd2)));
    } else {
      columns.push_back(columnOf(title, hyd1));
    }
  }
  return columns;
}

void writeBlock(state::Job& job, std::span<const Column> block, std::size_t firstNumber, int rows, float dt) {
  io::Fmt head;
  head.slash().a("    Inc    Time");
  for (std::size_t c = 0; c < block.size(); ++c) {
    head.a("    Hyd").i(3, 3, static_cast<long long>(firstNumber + c));
  }
  driver::printLine(job, head);
  for (int r = 1; r <= rows; ++r) {
    io::Fmt line;
    line.x(1).i(6, r).f(8, 2, static_cast<float>(r - 1) * dt);
    const auto row = static_cast<std::size_t>(r - 1);
    for (const Column& column : block) {
      // A hydrograph shorter than the table leaves its field blank past its last ordinate.
      if (row < column.values.size()) {
        line.f(10, column.decimals, column.values[row]);
      } else {
        line.x(10);
      }
    }
    line.x(1);
    driver::printLine(job, line);
  }
}

}  // namespace

void writetablehyds(state::Job& job) {
  const auto& store = job.sites.site;
  const auto count = std::min(static_cast<std::size_t>(std::max(job.genpar.nHydsPrinted, 0)), store.size());
  const std::span<const state::Site> records(store.data(), count);
  const float dt = job.genpar.tableTimeInc;

  driver::printLine(job, "\n\n Hydrograph summary\n ******************\n\n Site  Description");
  const std::vector<Column> columns = columnsOf(records);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    io::Fmt line;
    line.x(1).i(4, 2, static_cast<long long>(c + 1)).x(2).a(columns[c].description);
    driver::printLine(job, line);
  }
  if (records.empty()) return;

  const int rows = std::max(records.front().nOrd1, records.front().nOrd2);
  const std::span<const Column> all(columns);
  for (std::size_t from = 0; from < all.size(); from += columnsPerBlock) {
    const std::size_t size = std::min(columnsPerBlock, all.size() - from);
    writeBlock(job, all.subspan(from, size), from + 1, rows, dt);
  }
}

}  // namespace kova::engine
