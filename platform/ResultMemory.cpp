#include "ResultMemory.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kAlignment = 16;
static_assert(alignof(std::max_align_t) >= kAlignment, "malloc must align pieces to 16 bytes");
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
constexpr std::size_t kHugeFrom = 4 * 1024 * 1024;

std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

// What a piece of size bytes occupies: never nothing, and a whole alignment unit.
std::size_t pieceSize(std::size_t size)
{
    return roundUp(size ? size : 1, kAlignment);
}

} // namespace

ResultMemory::~ResultMemory()
{
    for (const Chunk& chunk : m_chunks)
        release(chunk);
}

void* ResultMemory::take(std::size_t size)
{
    size = pieceSize(size);
    // A piece of more than a quarter chunk would leave too much unused.
    if (m_total < kHugeFrom || size > kHugePage / 4)
        return own(size);
    if (m_room < size) {
        m_chunks.push_back(allocate(kHugePage, true));
        m_total += kHugePage;
        m_fill = m_chunks.back().data;
        m_room = kHugePage;
    }
    void* piece = m_fill;
    m_fill += size;
    m_room -= size;
    return piece;
}

void* ResultMemory::shrink(void* piece, std::size_t size)
{
    size = pieceSize(size);
    for (auto chunk = m_chunks.rbegin(); chunk != m_chunks.rend(); ++chunk) {
        if (chunk->data != piece)
            continue;
        if (chunk->mapped || size >= chunk->size)
            return piece;
        // Shrinking never needs more memory, so a failure leaves the piece as it was.
        if (void* moved = std::realloc(chunk->data, size)) {
            m_total -= chunk->size - size;
            chunk->data = static_cast<char*>(moved);
            chunk->size = size;
        }
        return chunk->data;
    }
    return piece;
}

void* ResultMemory::own(std::size_t size)
{
    m_chunks.push_back(allocate(size, false));
    m_total += size;
    return m_chunks.back().data;
}

ResultMemory::Chunk ResultMemory::allocate(std::size_t size, bool hugePages)
{
    if (hugePages) {
        // Map one huge page more than asked for, then cut off what lies
        // before and after the aligned span.
        const std::size_t span = size + kHugePage;
        void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw != MAP_FAILED) {
            const auto begin = reinterpret_cast<std::uintptr_t>(raw);
            const std::uintptr_t aligned = roundUp(begin, kHugePage);
            if (aligned > begin)
                munmap(raw, aligned - begin);
            if (const std::size_t tail = begin + span - (aligned + size))
                munmap(reinterpret_cast<void*>(aligned + size), tail);
            char* data = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
            madvise(data, size, MADV_HUGEPAGE);
#endif
            return Chunk{data, size, true};
        }
        // Without room for a mapping, the ordinary heap may still have some.
    }
    void* data = std::malloc(size);
    if (!data)
        throw std::bad_alloc();
    return Chunk{static_cast<char*>(data), size, false};
}

void ResultMemory::release(const Chunk& chunk)
{
    if (chunk.mapped)
        munmap(chunk.data, chunk.size);
    else
        std::free(chunk.data);
}
