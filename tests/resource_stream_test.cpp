// bx::ResourceStream: streams of their own beside the module's one, copies, streams over the
// caller's bytes, and several threads each reading with a stream of its own.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "test_support.h"

namespace {

using bx::ReadValue;
using bx::ResourceStream;
using StreamTest = FreshReaderTest;

TEST_F(StreamTest, SeveralAreOpenAtOnceBesideTheModulesOwn) {
  ResourceStream record(101, "CUSTOM");
  ResourceStream text(102, "CUSTOM");
  BxRes::Load(101, "CUSTOM");
  EXPECT_EQ(record.ReadByte(), ReadValue(std::uint8_t{1}));
  EXPECT_EQ(text.ReadToken(), ReadValue(u"サンプルデータ"));
  EXPECT_EQ(record.ReadInteger(), ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(text.ReadToken(), ReadValue(u"作者はＱＵＯＸ"));
  EXPECT_EQ(record.Position(), 3);
  EXPECT_EQ(text.Position(), 31);
  EXPECT_EQ(text.Size(), 136);
  EXPECT_EQ(BxRes::Position(), 0);  // the module's cursor has not moved
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
}

TEST_F(StreamTest, CopiesShareTheBytesAndEachHasItsOwnCursor) {
  ResourceStream original(101, "CUSTOM");
  original.ReadByte();
  ResourceStream copy = original;
  EXPECT_EQ(copy.ReadInteger(), ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(copy.Position(), 3);
  EXPECT_EQ(original.Position(), 1);
  EXPECT_EQ(bx::detail::StreamState::ResData(copy).data(),
            bx::detail::StreamState::ResData(original).data());
  ResourceStream moved = std::move(copy);
  EXPECT_EQ(moved.Position(), 3);
  EXPECT_EQ(copy.Size(), 0);  // NOLINT(bugprone-use-after-move): a stream moved from is empty
  EXPECT_TRUE(copy.ReadByte().IsEmpty());
}

TEST_F(StreamTest, AnEmptyStreamIsAtItsEnd) {
  ResourceStream empty;
  for (auto read :
       {&ResourceStream::ReadByte, &ResourceStream::ReadInteger, &ResourceStream::ReadLong,
        &ResourceStream::ReadSingle, &ResourceStream::ReadDouble, &ResourceStream::ReadToken}) {
    EXPECT_TRUE((empty.*read)().IsEmpty());
  }
  char destination[1];
  try {
    empty.ReadBlock(destination, 0);
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: ReadBlock with no resource loaded: no byte left to read");
  }
  EXPECT_EQ(empty.Position(), 0);
  EXPECT_EQ(empty.Size(), 0);
}

TEST_F(StreamTest, ReadsBytesTheCallerOwnsAndNamesThemInErrors) {
  const std::vector<std::uint8_t> bytes = {'a', 'b', ',', 0x34, 0x12};
  ResourceStream stream(bytes);
  EXPECT_EQ(stream.ReadToken(), ReadValue(u"ab"));
  EXPECT_EQ(stream.ReadInteger(), ReadValue(std::int16_t{0x1234}));
  try {
    stream.ReadBlock(nullptr, 1);
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: ReadBlock at offset 5 of the 5 bytes given to the "
                 "stream: null destination for 1 bytes");
  }
}

TEST_F(StreamTest, OpensAsLoadDoesAndRaisesAsLoadRaises) {
  ResourceStream stream(101, "CUSTOM");
  EXPECT_THROW(stream = ResourceStream(999, "CUSTOM"), bx::ResourceNotFoundError);
  EXPECT_THROW(stream = ResourceStream(1.5, u"CUSTOM"), bx::ConversionError);
  EXPECT_EQ(stream.Size(), 28);  // a failed assignment keeps what it had
  stream.ReadByte();
  try {
    stream.ReadBlock(nullptr, 2);
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: ReadBlock at offset 1 of resource 101 of type "
                 "\"CUSTOM\": null destination for 2 bytes");
  }
}

// Every token of the sample text, as one thread reads it.
std::vector<std::u16string> Tokens(ResourceStream stream) {
  std::vector<std::u16string> tokens;
  for (ReadValue token = stream.ReadToken(); !token.IsEmpty(); token = stream.ReadToken()) {
    tokens.push_back(token.String());
  }
  return tokens;
}

TEST_F(StreamTest, SeveralThreadsReadOneResourceEachWithAStreamOfItsOwn) {
  const ResourceStream shared(102, "CUSTOM");
  const std::vector<std::u16string> expected = Tokens(shared);
  ASSERT_EQ(expected.size(), 8u);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        // Half of the rounds open the resource anew, half copy the stream opened before.
        const ResourceStream stream = round % 2 == 0 ? ResourceStream(102, "CUSTOM") : shared;
        mismatches[t] += Tokens(stream) != expected;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
