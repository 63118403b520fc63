#pragma once
// What each projector status raises: the caution box's message bit, and from
// the bit the box's heading and message texts (the message text is also the
// error log's). Statuses outside the error values raise nothing.

// The message bit of status (ALERT_BIT_NONE outside 2..10).
int AlertMessageBit(int status);
// The heading text number for bit; 0 for an unknown bit.
int AlertHeadingTextId(int bit);
// The message text number for bit; 0 for an unknown bit.
int AlertMessageTextId(int bit);
