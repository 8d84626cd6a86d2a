// Keeps the windows library non-empty until the windows arrive.
namespace { [[maybe_unused]] int vernolatGuiPlaceholder = 0; }
