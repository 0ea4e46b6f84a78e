#include "gapped_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Contents(const TGappedBytes& gapped) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < gapped.Size(); ++i) out.push_back(gapped.At(i));
  return out;
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

// Each step as typing and deleting make them, against the plain bytes.
TEST(GappedBytes, EditsKeepTheBytesInOrder) {
  const struct {
    const char* Name;
    char Op;  // 'i' insert, 'e' erase, 'm' move the gap, 'c' close
    std::size_t At;
    std::size_t N;
    char Value;
    const char* After;
  } kSteps[] = {
      {"insert into the middle", 'i', 2, 3, 'x', "abxxxcdef"},
      {"insert next to it", 'i', 5, 1, 'y', "abxxxycdef"},
      {"insert before it", 'i', 1, 1, 'z', "azbxxxycdef"},
      {"erase across the gap's place", 'e', 2, 3, 0, "azxycdef"},
      {"erase at the end", 'e', 7, 5, 0, "azxycde"},
      {"move to the start", 'm', 0, 0, 0, "azxycde"},
      {"insert at the start", 'i', 0, 2, 'q', "qqazxycde"},
      {"insert at the end", 'i', 9, 1, 'w', "qqazxycdew"},
      {"erase past the end", 'e', 20, 3, 0, "qqazxycdew"},
      {"close", 'c', 0, 0, 0, "qqazxycdew"},
      {"erase all", 'e', 0, 10, 0, ""},
      {"insert into nothing", 'i', 0, 1, 'a', "a"},
  };
  std::vector<std::uint8_t> vector = Bytes("abcdef");
  TGappedBytes gapped(vector);
  for (const auto& s : kSteps) {
    switch (s.Op) {
      case 'i':
        gapped.Insert(s.At, s.N, static_cast<std::uint8_t>(s.Value));
        break;
      case 'e':
        gapped.Erase(s.At, s.N);
        break;
      case 'm':
        gapped.MoveGap(s.At);
        break;
      default:
        gapped.Close();
        EXPECT_EQ(vector, Bytes(s.After)) << s.Name;
    }
    EXPECT_EQ(Contents(gapped), Bytes(s.After)) << s.Name;
  }
}

// Random edits, with the pointer from the gap on written through as the
// rescan writes, against a plain vector; closing gives the vector alone.
TEST(GappedBytes, RandomEditsMatchAPlainVector) {
  std::mt19937 engine(22);
  const auto pick = [&engine](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine);
  };
  std::vector<std::uint8_t> model(5000);
  for (std::size_t i = 0; i < model.size(); ++i) model[i] = static_cast<std::uint8_t>(i % 251);
  std::vector<std::uint8_t> vector = model;
  TGappedBytes gapped(vector);
  std::size_t peak = model.size();
  for (int step = 0; step < 4000; ++step) {
    const std::size_t at = pick(model.size() + 1);
    switch (pick(5)) {
      case 0: {
        // Bigger than any gap now and then, so the gap is made anew.
        const std::size_t n = pick(10) == 0 ? 70000 + pick(1000) : 1 + pick(20);
        const auto value = static_cast<std::uint8_t>(pick(256));
        gapped.Insert(at, n, value);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), n, value);
        break;
      }
      case 1: {
        const std::size_t n = std::min(1 + pick(30000), model.size() - at);
        gapped.Erase(at, n);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at),
                    model.begin() + static_cast<std::ptrdiff_t>(at + n));
        break;
      }
      case 2: {
        gapped.MoveGap(at);
        std::uint8_t* from = gapped.FromGap();
        for (std::size_t i = at; i < std::min(model.size(), at + 50); ++i) {
          from[i] = model[i] = static_cast<std::uint8_t>(step);
        }
        break;
      }
      case 3:
        if (pick(20) == 0) gapped.Close();
        break;
      default:
        break;
    }
    ASSERT_EQ(gapped.Size(), model.size()) << "step " << step;
    peak = std::max(peak, model.size());
    if (step % 97 == 0) {
      ASSERT_EQ(Contents(gapped), model) << "step " << step;
    }
  }
  gapped.Close();
  EXPECT_EQ(vector, model);
  // The gap is kept small beside the most bytes there were.
  EXPECT_LT(vector.capacity(), peak + peak / 32 + 2 * TGappedBytes::kMinGap + 2000);
}
