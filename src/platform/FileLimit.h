#pragma once
// Open-descriptor budget: a fleet of a thousand boards needs more than the
// usual soft limit of 1024 (two sockets per session), so programs raise
// their soft limit towards the hard one at start-up.

// Raises the soft limit to the hard limit; returns the soft limit now in force.
long RaiseOpenFileLimit();
// Descriptors a fleet of n sessions needs, with room for the program itself.
long DescriptorsNeededFor(long sessions);
