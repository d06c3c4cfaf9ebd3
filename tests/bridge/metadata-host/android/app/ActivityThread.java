package android.app;

import android.os.Looper;

// Stand-in: like the framework's, the system main thread needs a prepared main looper.
public final class ActivityThread {
    private final ContextImpl context = new ContextImpl();

    public static ActivityThread systemMain() {
        if (!Looper.mainPrepared())
            throw new RuntimeException("Can't create handler inside thread that has not called Looper.prepare()");
        return new ActivityThread();
    }

    public ContextImpl getSystemContext() {
        return context;
    }
}
