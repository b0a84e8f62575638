#include "services/fault_trap.h"

#include <atomic>

namespace kalvor {
namespace {
std::atomic<bool> g_noErrorTrap{false};
}

bool NoErrorTrap() {
    return g_noErrorTrap.load(std::memory_order_relaxed);
}
void SetNoErrorTrap(bool on) {
    g_noErrorTrap.store(on, std::memory_order_relaxed);
}

}  // namespace kalvor
