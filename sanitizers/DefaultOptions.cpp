// The options every program of the thread-sanitizer build starts with. TSAN_OPTIONS from the test
// environment does not reach every program: the privileged commands run through `env -i`, so a
// stand-in tool started that way would otherwise run without the suppressions and report Qt's own
// hand-offs as races.
extern "C" const char *__tsan_default_options()
{
    return "halt_on_error=1:second_deadlock_stack=1:print_suppressions=0:"
           "suppressions=" TESSALINE_TSAN_SUPPRESSIONS;
}
