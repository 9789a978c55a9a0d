// Result-code names, the exception classes and AAX_CheckedResult.
#include "AAX_Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

TEST(ResultNames, EveryCodeOfTheTableHasItsName)
{
  const std::vector<std::pair<AAX_Result, std::string>> table = {
      {0, "AAX_SUCCESS"},
      {-20001, "AAX_ERROR_INVALID_PARAMETER_ID"},
      {-20002, "AAX_ERROR_INVALID_STRING_CONVERSION"},
      {-20003, "AAX_ERROR_INVALID_METER_INDEX"},
      {-20004, "AAX_ERROR_NULL_OBJECT"},
      {-20005, "AAX_ERROR_OLDER_VERSION"},
      {-20006, "AAX_ERROR_INVALID_CHUNK_INDEX"},
      {-20007, "AAX_ERROR_INVALID_CHUNK_ID"},
      {-20008, "AAX_ERROR_INCORRECT_CHUNK_SIZE"},
      {-20009, "AAX_ERROR_UNIMPLEMENTED"},
      {-20010, "AAX_ERROR_INVALID_PARAMETER_INDEX"},
      {-20011, "AAX_ERROR_NOT_INITIALIZED"},
      {-20012, "AAX_ERROR_ACF_ERROR"},
      {-20013, "AAX_ERROR_INVALID_METER_TYPE"},
      {-20014, "AAX_ERROR_CONTEXT_ALREADY_HAS_METERS"},
      {-20015, "AAX_ERROR_NULL_COMPONENT"},
      {-20016, "AAX_ERROR_PORT_ID_OUT_OF_RANGE"},
      {-20017, "AAX_ERROR_FIELD_TYPE_DOES_NOT_SUPPORT_DIRECT_ACCESS"},
      {-20018, "AAX_ERROR_DIRECT_ACCESS_OUT_OF_BOUNDS"},
      {-20019, "AAX_ERROR_FIFO_FULL"},
      {-20020, "AAX_ERROR_INITIALIZING_PACKET_STREAM_THREAD"},
      {-20021, "AAX_ERROR_POST_PACKET_FAILED"},
      {-20022, "AAX_RESULT_PACKET_STREAM_NOT_EMPTY"},
      {-20023, "AAX_RESULT_ADD_FIELD_UNSUPPORTED_FIELD_TYPE"},
      {-20024, "AAX_ERROR_MIXER_THREAD_FALLING_BEHIND"},
      {-20025, "AAX_ERROR_INVALID_FIELD_INDEX"},
      {-20026, "AAX_ERROR_MALFORMED_CHUNK"},
      {-20027, "AAX_ERROR_TOD_BEHIND"},
      {-20028, "AAX_RESULT_NEW_PACKET_POSTED"},
      {-20030, "AAX_ERROR_PLUGIN_NULL_PARAMETER"},
      {-20031, "AAX_ERROR_NOTIFICATION_FAILED"},
      {-20032, "AAX_ERROR_INVALID_VIEW_SIZE"},
      {-20033, "AAX_ERROR_SIGNED_INT_OVERFLOW"},
      {-20034, "AAX_ERROR_NO_COMPONENTS"},
      {-20035, "AAX_ERROR_DUPLICATE_EFFECT_ID"},
      {-20036, "AAX_ERROR_DUPLICATE_TYPE_ID"},
      {-20037, "AAX_ERROR_EMPTY_EFFECT_NAME"},
      {-20038, "AAX_ERROR_UNKNOWN_PLUGIN"},
      {-20039, "AAX_ERROR_PROPERTY_UNDEFINED"},
      {-20040, "AAX_ERROR_INVALID_PATH"},
      {-20041, "AAX_ERROR_UNKNOWN_ID"},
      {-20042, "AAX_ERROR_UNKNOWN_EXCEPTION"},
      {-20043, "AAX_ERROR_INVALID_ARGUMENT"},
      {-20044, "AAX_ERROR_NULL_ARGUMENT"},
      {-20045, "AAX_ERROR_INVALID_INTERNAL_DATA"},
      {-20046, "AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW"},
  };
  for (const auto& row : table)
    EXPECT_EQ(AAX::AsStringResult(row.first), row.second) << row.first;
}

TEST(ResultNames, TheConstantsCarryTheTabledValues)
{
  EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, -20001);
  EXPECT_EQ(AAX_ERROR_NULL_OBJECT, -20004);
  EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, -20009);
  EXPECT_EQ(AAX_ERROR_NOT_INITIALIZED, -20011);
  EXPECT_EQ(AAX_RESULT_NEW_PACKET_POSTED, -20028);
  EXPECT_EQ(AAX_ERROR_PLUGIN_NULL_PARAMETER, -20030);
  EXPECT_EQ(AAX_ERROR_UNKNOWN_EXCEPTION, -20042);
  EXPECT_EQ(AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW, -20046);
}

TEST(ResultNames, CodesOutsideTheTable)
{
  EXPECT_EQ(AAX::AsStringResult(-20047), "<unknown error code>");
  EXPECT_EQ(AAX::AsStringResult(-20029), "<unknown error code>");
  EXPECT_EQ(AAX::AsStringResult(-20600), "plug-in defined error");
  EXPECT_EQ(AAX::AsStringResult(-21000), "plug-in defined error");
  EXPECT_EQ(AAX::AsStringResult(-20800), "plug-in defined error");
  EXPECT_EQ(AAX::AsStringResult(-20599), "<unknown error code>");
  EXPECT_EQ(AAX::AsStringResult(-21001), "<unknown error code>");
  EXPECT_EQ(AAX::AsStringResult(-333), "<unknown error code>");
  EXPECT_EQ(AAX::AsStringResult(1), "<unknown error code>");
}

TEST(ResultNames, TextHelpers)
{
  EXPECT_EQ(AAX::AsStringInt32(-20001), "-20001");
  EXPECT_EQ(AAX::AsStringInt32(0), "0");
  EXPECT_EQ(AAX::AsStringInt32(42), "42");
  EXPECT_EQ(AAX::AsString("same"), "same");
  EXPECT_EQ(AAX::Exception::ResultError::FormatResult(-20001),
            "AAX_ERROR_INVALID_PARAMETER_ID (-20001)");
}

TEST(Exceptions, AnyFromADescriptionHasItAsWhat)
{
  const AAX::Exception::Any e("something failed");
  EXPECT_EQ(e.What(), "something failed");
}

TEST(Exceptions, WhatAppendsFunctionAndLineWhenGiven)
{
  EXPECT_EQ(AAX::Exception::Any::CreateWhat("d", "f", "12"), "d func:f line:12");
  EXPECT_EQ(AAX::Exception::Any::CreateWhat("d", "", "12"), "d line:12");
  EXPECT_EQ(AAX::Exception::Any::CreateWhat("d", "f", ""), "d func:f");
  EXPECT_EQ(AAX::Exception::Any("d", "f", "7").What(), "d func:f line:7");
}

TEST(Exceptions, ResultErrorCarriesItsCode)
{
  const AAX::Exception::ResultError e(-20004);
  EXPECT_EQ(e.Result(), -20004);
  EXPECT_EQ(e.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
  const AAX::Exception::Any& asAny = e;
  EXPECT_EQ(asAny.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
}

TEST(CheckedResult, SuccessNeverThrows)
{
  AAX_CheckedResult r;
  EXPECT_NO_THROW(r = 0);
  EXPECT_NO_THROW(AAX_CheckedResult(0));
  EXPECT_EQ(static_cast<AAX_Result>(r), 0);
  EXPECT_EQ(r.LastError(), 0);
}

TEST(CheckedResult, AFailureThrowsResultErrorAndLeavesTheHolderAtSuccess)
{
  AAX_CheckedResult r;
  bool caught = false;
  try
  {
    r = 0;
    r = -20004;
    r = 0; // not reached
  }
  catch (const AAX::Exception::ResultError& e)
  {
    caught = true;
    EXPECT_EQ(e.Result(), -20004);
    EXPECT_EQ(e.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
  }
  EXPECT_TRUE(caught);
  EXPECT_EQ(static_cast<AAX_Result>(r), 0);
  EXPECT_EQ(r.LastError(), -20004);
  // Ready for reuse.
  EXPECT_NO_THROW(r = 0);
  EXPECT_THROW(r = -20009, AAX::Exception::ResultError);
  EXPECT_EQ(r.LastError(), -20009);
}

TEST(CheckedResult, ConstructionWithAFailureThrows)
{
  try
  {
    AAX_CheckedResult r(-20011);
    FAIL() << "no throw";
  }
  catch (const AAX::Exception::Any& e)
  {
    // Caught as the base class at a host boundary.
    EXPECT_EQ(e.What(), "AAX_ERROR_NOT_INITIALIZED (-20011)");
  }
}

TEST(CheckedResult, PositiveValuesAreNotAccepted)
{
  AAX_CheckedResult r;
  EXPECT_THROW(r = 1, AAX::Exception::ResultError);
  r.ResetAcceptedResults();
  r.Initialize();
  EXPECT_THROW(r = -1, AAX::Exception::ResultError);
}
