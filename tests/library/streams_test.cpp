// The class library's streams on their own: the memory stream's moves, the all-or-nothing
// buffer calls, and the file stream's creation rules.
#include "document_store.h"
#include "exceptions.h"
#include "streams.h"
#include "unique_handle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using classlib::soBeginning;
using classlib::soCurrent;
using classlib::soEnd;

constexpr char ScratchFile[] = "c:\\valkesta-streams-test.bin";

// Takes at most `capacity` bytes in all, like a disk that fills up.
class TCappedStream : public classlib::TStream {
public:
    explicit TCappedStream(std::int32_t capacity) : capacity_(capacity) {}
    std::int32_t Read(void*, std::int32_t) override { return 0; }
    std::int32_t Write(const void*, std::int32_t count) override {
        const std::int32_t taken = std::min(count, capacity_);
        capacity_ -= taken;
        return taken;
    }
    std::int64_t Seek(std::int64_t, classlib::TSeekOrigin) override { return 0; }

private:
    std::int32_t capacity_;
};

class StreamsTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileA(ScratchFile); }
};

TEST_F(StreamsTest, MemoryStreamMovesWithinItsMemory) {
    const auto stream = LoadDocumentStream("DOC21");
    const std::int64_t size = stream->Size();
    ASSERT_GT(size, 8);
    const auto* memory = static_cast<const char*>(stream->Memory());

    EXPECT_EQ(stream->Seek(4, soBeginning), 4);
    EXPECT_EQ(stream->Seek(2, soCurrent), 6);
    char bytes[4];
    EXPECT_EQ(stream->Read(bytes, 4), 4);
    EXPECT_EQ(std::memcmp(bytes, memory + 6, 4), 0);
    EXPECT_EQ(stream->Position(), 10);

    // A read at the end takes what is left; past it, nothing.
    EXPECT_EQ(stream->Seek(-3, soEnd), size - 3);
    EXPECT_EQ(stream->Read(bytes, 4), 3);
    EXPECT_EQ(std::memcmp(bytes, memory + size - 3, 3), 0);
    EXPECT_EQ(stream->Read(bytes, 4), 0);
    EXPECT_EQ(stream->Seek(5, soEnd), size + 5);
    EXPECT_EQ(stream->Read(bytes, 4), 0);
    EXPECT_EQ(stream->Size(), size) << "Size must leave the position where it was";
    EXPECT_EQ(stream->Position(), size + 5);
}

TEST_F(StreamsTest, ReadBufferShortOfTheAskedCountRaisesReadError) {
    const auto stream = LoadDocumentStream("DOC21");
    stream->Seek(-2, soEnd);
    char bytes[4];
    try {
        stream->ReadBuffer(bytes, 4);
        FAIL() << "no EReadError";
    } catch (const classlib::EReadError& error) {
        EXPECT_EQ(error.Message(), "Stream read error");
    }
    stream->Seek(0, soBeginning);
    stream->ReadBuffer(bytes, 4);
    EXPECT_EQ(std::string(bytes, 4), std::string("PK\3\4", 4));
}

TEST_F(StreamsTest, WriteBufferShortOfTheAskedCountRaisesWriteError) {
    TCappedStream stream(10);
    const char bytes[8] = {};
    EXPECT_NO_THROW(stream.WriteBuffer(bytes, 8));
    try {
        stream.WriteBuffer(bytes, 8);
        FAIL() << "no EWriteError";
    } catch (const classlib::EWriteError& error) {
        EXPECT_EQ(error.Message(), "Stream write error");
    }
}

TEST_F(StreamsTest, ResourceStreamRefusesWrites) {
    const auto stream = LoadDocumentStream("DOC21");
    const char byte = 0;
    EXPECT_THROW(stream->Write(&byte, 1), classlib::EStreamError);
}

TEST_F(StreamsTest, FileStreamReplacesTheFileAndHoldsItForItself) {
    {
        classlib::TFileStream first(ScratchFile, classlib::fmCreate);
        first.WriteBuffer("an older and longer content", 27);
    }
    {
        classlib::TFileStream file(ScratchFile, classlib::fmCreate);
        EXPECT_EQ(file.Size(), 0) << "creation empties an existing file";
        file.WriteBuffer("fresh", 5);

        // Nobody else may open it, not even to read, while the stream lives.
        EXPECT_FALSE(
            OwnFileHandle(CreateFileA(ScratchFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr)));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_THROW(classlib::TFileStream(ScratchFile, classlib::fmCreate),
                     classlib::EFCreateError);

        EXPECT_EQ(file.Seek(0, soBeginning), 0);
        char bytes[5];
        file.ReadBuffer(bytes, 5);
        EXPECT_EQ(std::string(bytes, 5), "fresh");
        EXPECT_EQ(file.Size(), 5);
    }
    // Closed with the stream.
    EXPECT_TRUE(OwnFileHandle(
        CreateFileA(ScratchFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

TEST_F(StreamsTest, FileStreamThatCannotBeCreatedNamesThePath) {
    const std::string path = "c:\\no such folder\\file.bin";
    try {
        classlib::TFileStream file(path, classlib::fmCreate);
        FAIL() << "no EFCreateError";
    } catch (const classlib::EFCreateError& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + path);
    }
}

TEST_F(StreamsTest, SaveToFileWritesTheWholeMemoryWhateverThePosition) {
    const auto stream = LoadDocumentStream("DOC21");
    stream->Seek(100, soBeginning);
    stream->SaveToFile(ScratchFile);
    EXPECT_EQ(stream->Position(), 100);

    std::ifstream file(ScratchFile, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(written, std::string(static_cast<const char*>(stream->Memory()), stream->Size()));
}

} // namespace
