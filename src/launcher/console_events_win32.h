#pragma once
// Ctrl+C and the console's close for a VM that does not take them itself.
// HotSpot registers its own console handler while the VM is created, and
// Windows calls the last one registered first; this one, registered before,
// runs only when the VM has none (Avian, or a VM that declined the event). It
// then asks the VM to exit as java does on SIGINT or SIGTERM (130, 143), so
// shutdown hooks run. Before the VM exists, and after it is destroyed, it
// declines, and Windows' default ending applies.

class ConsoleEventForwarding {
public:
    ConsoleEventForwarding();
    ~ConsoleEventForwarding();
    ConsoleEventForwarding(const ConsoleEventForwarding&) = delete;
    ConsoleEventForwarding& operator=(const ConsoleEventForwarding&) = delete;

private:
    bool registered_;
};
