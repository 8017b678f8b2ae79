#include "html/GumboArena.h"

#include <cstdlib>

TGumboArena::TGumboArena(std::size_t budget) : FBudget(budget) {}

TGumboArena::~TGumboArena()
{
    for (Header *block = FBlocks.next; block != &FBlocks;) {
        Header *next = block->next;
        std::free(block);
        block = next;
    }
}

void *TGumboArena::allocate(void *arena, std::size_t size)
{
    auto *self = static_cast<TGumboArena *>(arena);
    if (size > self->FBudget - self->FUsed)
        std::longjmp(self->FEscape, 1);
    auto *block = static_cast<Header *>(std::malloc(sizeof(Header) + size));
    if (!block)
        std::longjmp(self->FEscape, 1);
    block->size = size;
    block->previous = &self->FBlocks;
    block->next = self->FBlocks.next;
    self->FBlocks.next->previous = block;
    self->FBlocks.next = block;
    self->FUsed += size;
    return block + 1;
}

void TGumboArena::deallocate(void *arena, void *pointer)
{
    if (!pointer)
        return;
    auto *self = static_cast<TGumboArena *>(arena);
    Header *block = static_cast<Header *>(pointer) - 1;
    block->previous->next = block->next;
    block->next->previous = block->previous;
    self->FUsed -= block->size;
    std::free(block);
}
