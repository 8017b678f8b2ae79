#pragma once

#include <csetjmp>
#include <cstddef>

// The memory of one Gumbo parse. Every block that Gumbo asks for is counted
// against a budget and kept on a list, so that a page whose tree would
// outgrow the budget is abandoned in the middle of the parse (the allocator
// jumps back to the escape point and nothing of Gumbo's survives), and so
// that the finished tree is freed in one sweep instead of by Gumbo's own
// recursive walk, which a deeply nested tree would overflow.
class TGumboArena
{
public:
    explicit TGumboArena(std::size_t budget);
    ~TGumboArena();
    TGumboArena(const TGumboArena &) = delete;
    TGumboArena &operator=(const TGumboArena &) = delete;

    // The allocator and deallocator of GumboOptions, with the arena as their
    // user data. allocate() does not return when the budget is spent or the
    // system has no memory left: it jumps to escape().
    static void *allocate(void *arena, std::size_t size);
    static void deallocate(void *arena, void *block);

    std::jmp_buf &escape() { return FEscape; }

private:
    struct alignas(std::max_align_t) Header
    {
        Header *previous;
        Header *next;
        std::size_t size;
    };

    Header FBlocks{&FBlocks, &FBlocks, 0};
    std::size_t FUsed = 0;
    std::size_t FBudget;
    std::jmp_buf FEscape;
};
