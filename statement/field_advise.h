/*
** The advise seam: after a field changed, and when a statement window comes to the front,
** the window tells whoever watches fields (the DDE server) through one registered sink.
** With no sink registered an advise does nothing.
*/
#ifndef ZARNE_STATEMENT_FIELD_ADVISE_H
#define ZARNE_STATEMENT_FIELD_ADVISE_H

class TFrameWindow;

/* name: the changed field's name, or null for every watched item. */
using TFieldAdviseSink = void (*)(TFrameWindow* frame, const char* name);

/* Registers the sink (null removes it). */
void SetFieldAdviseSink(TFieldAdviseSink sink);
void PostFieldAdvise(TFrameWindow* frame, const char* name);

#endif
