#ifndef ZENTROVA_ALLOCATION_COUNT_H
#define ZENTROVA_ALLOCATION_COUNT_H

// Counts every heap allocation of the process, SDL's included, so that the
// test suite and the benchmark can show that a steady frame allocates
// nothing. Linked into both; no gtest here.
namespace allocation_count {

// False in a sanitizer build, whose own allocator stands where the counting
// would go; the count then stays 0.
bool counting();

// Allocations (malloc, calloc and realloc, and what is built on them) so far.
unsigned long now();

}  // namespace allocation_count

#endif
