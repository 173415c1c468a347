// Built against a layer's own flags, this must not compile: the header it
// names belongs to a layer above, a test, or Qt, all out of that layer's
// reach.
#include GULPO_FORBIDDEN_HEADER
