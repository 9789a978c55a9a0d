// Taper delegates: the mapping between real values and 0..1, worked out by hand.
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CStateTaperDelegate.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

TEST(BinaryTaper, AnyPositiveValueIsTrueAndTrueIsOne)
{
  AAX_CBinaryTaperDelegate<bool> t;
  EXPECT_FALSE(t.NormalizedToReal(0.0));
  EXPECT_FALSE(t.NormalizedToReal(-0.5));
  EXPECT_TRUE(t.NormalizedToReal(1e-9));
  EXPECT_EQ(t.RealToNormalized(false), 0.0);
  EXPECT_EQ(t.RealToNormalized(true), 1.0);
  EXPECT_FALSE(t.GetMinimumValue());
  EXPECT_TRUE(t.GetMaximumValue());
}

TEST(LinearTaper, TruncatesWhereTheStateTaperRounds)
{
  AAX_CLinearTaperDelegate<int, 0> linear(0, 10);
  AAX_CStateTaperDelegate<int> state(0, 10);
  EXPECT_EQ(linear.NormalizedToReal(0.99), 9); // 9.9
  EXPECT_EQ(state.NormalizedToReal(0.99), 10); // 9.9 + 0.5
  EXPECT_EQ(linear.NormalizedToReal(0.25), 2); // 2.5
  EXPECT_EQ(state.NormalizedToReal(0.25), 3);  // 3.0
  EXPECT_EQ(state.NormalizedToReal(0.24), 2);  // 2.4 + 0.5
  for (const AAX_ITaperDelegate<int>* t : {static_cast<AAX_ITaperDelegate<int>*>(&linear),
                                           static_cast<AAX_ITaperDelegate<int>*>(&state)})
  {
    EXPECT_EQ(t->NormalizedToReal(1.5), 10);
    EXPECT_EQ(t->NormalizedToReal(-0.2), 0);
    EXPECT_EQ(t->RealToNormalized(5), 0.5);
    EXPECT_EQ(t->RealToNormalized(20), 1.0); // constrained first
  }
}

TEST(LinearTaper, NegativeValuesTruncateTowardZeroAndStatesRoundAwayFromIt)
{
  AAX_CLinearTaperDelegate<int, 0> linear(-10, 10);
  AAX_CStateTaperDelegate<int> state(-10, 10);
  EXPECT_EQ(linear.NormalizedToReal(0.26), -4); // -4.8
  EXPECT_EQ(state.NormalizedToReal(0.26), -5);  // -4.8 - 0.5 = -5.3
  EXPECT_EQ(linear.RealToNormalized(-5), 0.25);
}

TEST(LinearTaper, ReversedBoundsConstrainBothWaysAndReverseTheDirection)
{
  AAX_CLinearTaperDelegate<int, 0> t(10, 0);
  EXPECT_EQ(t.ConstrainRealValue(15), 10);
  EXPECT_EQ(t.ConstrainRealValue(-3), 0);
  EXPECT_EQ(t.RealToNormalized(5), 0.5); // (5 - 10) / (0 - 10)
  EXPECT_EQ(t.RealToNormalized(8), 0.2);
  EXPECT_EQ(t.NormalizedToReal(0.2), 8); // 0.2 * -10 + 10
  EXPECT_EQ(t.NormalizedToReal(1.0), 0);
}

TEST(StateTaper, EqualBoundsPinEveryValueAndNormaliseToOneHalf)
{
  AAX_CStateTaperDelegate<int> t(5, 5);
  EXPECT_EQ(t.ConstrainRealValue(7), 5);
  EXPECT_EQ(t.ConstrainRealValue(-7), 5);
  EXPECT_EQ(t.RealToNormalized(100), 0.5);
  EXPECT_EQ(t.NormalizedToReal(0.3), 5);
  AAX_CLinearTaperDelegate<int, 0> linear(5, 5);
  EXPECT_EQ(linear.RealToNormalized(5), 0.5);
}

TEST(LinearTaper, ExtremeAndNaNNormalisedValuesStayInsideTheBounds)
{
  AAX_CLinearTaperDelegate<int, 0> linear(0, 10);
  AAX_CStateTaperDelegate<int> state(-3, 3);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(linear.NormalizedToReal(1e300), 10);
  EXPECT_EQ(linear.NormalizedToReal(-1e300), 0);
  EXPECT_EQ(linear.NormalizedToReal(nan), 0);
  EXPECT_EQ(state.NormalizedToReal(nan), -3);
  EXPECT_EQ(state.NormalizedToReal(1e300), 3);
}

TEST(Tapers, ClonesKeepTheirBounds)
{
  const AAX_CStateTaperDelegate<int> state(2, 4);
  std::unique_ptr<AAX_ITaperDelegate<int>> clone(state.Clone());
  EXPECT_EQ(clone->GetMinimumValue(), 2);
  EXPECT_EQ(clone->GetMaximumValue(), 4);
  EXPECT_EQ(clone->NormalizedToReal(0.5), 3);
}

TEST(LinearTaper, ANaNRealValueOfAFloatingTaperBecomesTheLowerBound)
{
  AAX_CLinearTaperDelegate<double, 0> t(2.0, -1.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(t.NormalizedToReal(nan), -1.0);
  EXPECT_EQ(t.ConstrainRealValue(nan), -1.0);
  EXPECT_EQ(t.RealToNormalized(nan), 1.0); // (-1 - 2) / (-1 - 2)
  EXPECT_EQ(t.NormalizedToReal(0.5), 0.5);
}
