#pragma once

#include <cstddef>
#include <vector>

// The memory of one open result's cells. Pieces are not freed one by one (a
// piece of its own may only be cut shorter): everything goes when the object
// goes. Until the result holds 4 MiB, every piece is an allocation of its
// own; after that, pieces are cut from chunks of 2 MiB, each aligned to a
// huge page and advised as one, so that a large result is faulted in 2 MiB at
// a time rather than 4 KiB at a time (on a virtual machine every page fault
// is costly). A small result thus costs what its pieces cost, and a large one
// at most one part-filled chunk more (at 4 MiB and up, at most half again).
class ResultMemory
{
public:
    ResultMemory() = default;
    ~ResultMemory();
    ResultMemory(const ResultMemory&) = delete;
    ResultMemory& operator=(const ResultMemory&) = delete;

    // size bytes, aligned to 16 bytes.
    void* take(std::size_t size);
    // Gives back all but the first size bytes of a piece of its own (one
    // cut from a chunk stays as it is); returns where the piece now is.
    void* shrink(void* piece, std::size_t size);

    // Bytes of every chunk held, used or not.
    std::size_t memoryBytes() const { return m_total; }

private:
    struct Chunk
    {
        char* data;
        std::size_t size;
        bool mapped;
    };

    static Chunk allocate(std::size_t size, bool hugePages);
    static void release(const Chunk& chunk);

    void* own(std::size_t size);

    std::vector<Chunk> m_chunks;
    char* m_fill = nullptr;      // the free end of the chunk being filled
    std::size_t m_room = 0;      // bytes left there
    std::size_t m_total = 0;
};
