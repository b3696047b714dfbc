#include "engine/buffer/Attribute.h"
#include "engine/buffer/CharData.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

TEST(AttributeTest, EmptyDiffersFromNullCellAttribute)
{
    EXPECT_NE(Attribute::empty, CharData::Null.attribute);
}

} // namespace
} // namespace brevlin
