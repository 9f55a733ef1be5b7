#pragma once

// The tests' check that a scenario leaves the live GDI objects of the process exactly as it found
// them. The counts, and how they are read, are in tests/support/gdi_counts.h.
//
// Use:
//   EXPECT_GDI_OBJECTS_UNCHANGED({ skin::BuildSpriteSheet(); skin::ReleaseSpriteSheet(); });
// or take two CountGdiObjects() snapshots and compare them with EXPECT_EQ.

#include <gtest/gtest.h>

#include "tests/support/gdi_counts.h"

// Runs the statement(s) and expects the live GDI objects afterwards to be exactly those before.
#define EXPECT_GDI_OBJECTS_UNCHANGED(...)                                                       \
  do {                                                                                          \
    ASSERT_TRUE(::testing_support::GdiAccountingAvailable())                                    \
        << "the GDI handle table cannot be read";                                               \
    const ::testing_support::GdiCounts gdiCountsBefore_ = ::testing_support::CountGdiObjects(); \
    __VA_ARGS__;                                                                                \
    EXPECT_EQ(::testing_support::CountGdiObjects(), gdiCountsBefore_)                           \
        << "GDI objects after (left) and before (right) the scenario";                          \
  } while (false)
