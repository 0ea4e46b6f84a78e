// The benchmarks' inputs: the real files of about 1 MiB per language kept in the
// shared benchmark folder beside the repository, or, in a clone without that
// folder, generated text of the same size so that every benchmark still runs.
#pragma once

#include <string>

namespace bench_inputs {

// The bytes of an input by its file name ("big.html", "big.php", ...); empty for
// a name that is neither in the folder nor known to the generator.
std::string Load(const std::string& name);

// Generated text of the input's size, the same bytes on every run.
std::string Generate(const std::string& name);

// About `size` bytes of the sample, repeated as needed, cut after a line end
// in its second half.
std::string Repeated(const std::string& sample, std::size_t size);

}  // namespace bench_inputs
