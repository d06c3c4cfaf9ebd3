package android.os;

// Stand-in: the framework refuses to prepare the main looper twice.
public final class Looper {
    private static boolean mainPrepared;

    public static void prepareMainLooper() {
        if (mainPrepared)
            throw new IllegalStateException("The main Looper has already been prepared.");
        mainPrepared = true;
    }

    public static boolean mainPrepared() {
        return mainPrepared;
    }
}
